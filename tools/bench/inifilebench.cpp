// Parse time of the INI text format against the number of sections: a
// setup file from someone else may hold any number of them, and the time
// must grow in step with the file, not with its square. Prints the median
// parse time of files of 20,000 and 40,000 sections side by side; the ratio
// stays near 2 when parsing is linear (it is near 4 when quadratic).
//
//   velotrix-bench-inifile [--runs N] [SECTIONS...]

#include "setups/inifile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Distinct section names on lines as short as they come: 20,000 of them
// are 189 KB.
QByteArray fileWithSections(int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += "[S" + QByteArray::number(i) + "]\r\n";
    return data;
}

double medianParseMs(const QByteArray &data, int runs)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        IniFile ini;
        QElapsedTimer timer;
        timer.start();
        ini.parse(data);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (ini.sectionNames().isEmpty())
            std::abort(); // keeps the parse from being optimised away
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 5;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty())
        counts = { 20000, 40000 };

    std::printf("INI parse time, median of %d runs\n", runs);
    std::printf("%10s %10s %10s %8s\n", "sections", "KB", "ms", "ratio");
    double first = 0;
    for (const int count : counts) {
        const QByteArray data = fileWithSections(count);
        const double ms = medianParseMs(data, runs);
        if (first == 0)
            first = ms;
        std::printf(
            "%10d %10.0f %10.1f %8.2f\n", count, static_cast<double>(data.size()) / 1024.0, ms, ms / first);
    }
    return 0;
}
