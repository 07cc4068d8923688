// Setup catalogue rebuild over a folder of 1,000 setup files, against the
// time to read those files once: the rebuild lists the folder, reads each
// file's summary and looks up its caption, so it should cost little more
// than the reading itself. Prints the medians side by side.
//
//   velotrix-bench-catalogue [--runs N] [--files N]

#include "setups/setupcatalogue.h"
#include "setups/setupfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double elapsedMs(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 7;
    int files = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--files") == 0)
            files = std::max(1, std::atoi(argv[i + 1]));
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "velotrix-bench-catalogue: no temporary folder\n");
        return 2;
    }
    // Setups as the program saves them, a few with placeholders and the keys
    // of installed ones.
    tParameterSet params;
    params.ModeCount = 5;
    for (int i = 0; i < files; ++i) {
        const QString name
            = i % 10 == 0 ? QStringLiteral("%CALLSYSTEM% %1").arg(i) : QStringLiteral("Setup %1").arg(i);
        const QString path = dir.filePath(QStringLiteral("%1.cfg").arg(name));
        if (!SetupFile::write(path, name, params)) {
            std::fprintf(stderr, "velotrix-bench-catalogue: cannot write %s\n", qPrintable(path));
            return 2;
        }
    }

    std::vector<double> readOnce;
    std::vector<double> rebuild;
    qsizetype bytes = 0;
    for (int r = 0; r < runs; ++r) {
        // Reading every file whole, nothing else.
        QElapsedTimer timer;
        timer.start();
        bytes = 0;
        const QStringList entries = QDir(dir.path()).entryList(QDir::Files);
        for (const QString &entry : entries) {
            QFile file(dir.filePath(entry));
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
        readOnce.push_back(elapsedMs(timer));

        timer.start();
        QStringList names;
        FindSetupFiles(dir.path() + QLatin1Char('/'), names);
        qsizetype modes = 0;
        qsizetype captionChars = 0;
        for (const QString &name : names) {
            const std::unique_ptr<tConfig> config = ReadSetupInfo(dir.filePath(name));
            modes += config->ModeCount;
            captionChars += LookupSetupCaption(config->name).size();
        }
        rebuild.push_back(elapsedMs(timer));
        if (names.size() != files || modes != qsizetype(files) * 5 || captionChars == 0) {
            std::fprintf(stderr, "velotrix-bench-catalogue: the catalogue lists %lld of %d files\n",
                static_cast<long long>(names.size()), files);
            return 2;
        }
    }

    const double once = median(readOnce);
    const double built = median(rebuild);
    std::printf("Setup catalogue over %d files (%lld KB), median of %d runs\n", files,
        static_cast<long long>(bytes / 1024), runs);
    std::printf("  reading the files once   %8.1f ms\n", once);
    std::printf("  rebuilding the catalogue %8.1f ms  (%.1f times the read)\n", built, built / once);
    return 0;
}
