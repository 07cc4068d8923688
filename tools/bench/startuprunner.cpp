// Starts the configurator and the bare baseline window in turn, several
// times each, and compares the medians of their start-up time (process start
// to the main window's first frame) and of their peak memory (max RSS).
// Alternating the two lets machine load fall on both alike.
//
//   velotrix-bench-startup [--runs N] [--warmup N] [--timeout S] --plugins DIR PROGRAM BASELINE
//
// DIR holds generic/ with the first-frame plugin. The programs inherit the
// environment (platform, HOME and XDG folders are the caller's choice).
// Exit status: 0 both targets met, 1 a target missed, 2 a run failed.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double TimeTarget = 1.5;
constexpr double MemoryTarget = 1.5;

struct Options
{
    int runs = 7;
    int warmup = 1;
    int timeoutS = 60;
    std::string plugins;
    std::string program;
    std::string baseline;
};

struct Sample
{
    double ms = 0;
    long maxRssKb = 0;
    // User and system time of the whole run; unlike the wall-clock time it
    // hardly grows when other work competes for the processors.
    double cpuMs = 0;
};

double milliseconds(const timeval &t)
{
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

[[noreturn]] void usage()
{
    std::cerr << "usage: velotrix-bench-startup [--runs N] [--warmup N] [--timeout S] --plugins DIR "
                 "PROGRAM BASELINE\n";
    std::exit(2);
}

Options parse(int argc, char **argv)
{
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usage();
            return argv[++i];
        };
        if (arg == "--runs")
            o.runs = std::atoi(value().c_str());
        else if (arg == "--warmup")
            o.warmup = std::atoi(value().c_str());
        else if (arg == "--timeout")
            o.timeoutS = std::atoi(value().c_str());
        else if (arg == "--plugins")
            o.plugins = value();
        else if (!arg.empty() && arg[0] == '-')
            usage();
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2 || o.plugins.empty() || o.runs < 1 || o.warmup < 0 || o.timeoutS < 1)
        usage();
    o.program = positional[0];
    o.baseline = positional[1];
    return o;
}

std::string tempPath(const char *stem)
{
    const char *dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/" + stem + "-XXXXXX";
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd < 0) {
        std::perror("mkstemp");
        std::exit(2);
    }
    close(fd);
    return buffer.data();
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One start of program; empty when it failed, after saying why.
std::optional<Sample> runOnce(const Options &o, const std::string &program)
{
    const std::string result = tempPath("velotrix-bench-result");
    const std::string log = tempPath("velotrix-bench-log");

    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &childSignal, &previous);

    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (pid == 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        const int out = open(log.c_str(), O_WRONLY | O_TRUNC);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
            close(out);
        }
        const char *pluginPath = std::getenv("QT_PLUGIN_PATH");
        const std::string plugins = pluginPath && *pluginPath ? o.plugins + ":" + pluginPath : o.plugins;
        setenv("QT_PLUGIN_PATH", plugins.c_str(), 1);
        setenv("QT_QPA_GENERIC_PLUGINS", "velotrixfirstframe", 1);
        setenv("VELOTRIX_BENCH_RESULT", result.c_str(), 1);
        timespec t0 {};
        clock_gettime(CLOCK_MONOTONIC, &t0);
        const long long ns = static_cast<long long>(t0.tv_sec) * 1000000000LL + t0.tv_nsec;
        setenv("VELOTRIX_BENCH_T0_NS", std::to_string(ns).c_str(), 1);
        char *const args[] = { const_cast<char *>(program.c_str()), nullptr };
        execv(program.c_str(), args);
        std::perror("execv");
        _exit(127);
    }

    const timespec timeout { o.timeoutS, 0 };
    bool timedOut = false;
    while (sigtimedwait(&childSignal, nullptr, &timeout) < 0) {
        if (errno == EINTR)
            continue;
        timedOut = true;
        kill(pid, SIGKILL);
        break;
    }
    int status = 0;
    rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    sigprocmask(SIG_SETMASK, &previous, nullptr);

    const std::string measured = readFile(result);
    const std::string output = readFile(log);
    std::remove(result.c_str());
    std::remove(log.c_str());

    std::optional<Sample> sample;
    if (!timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !measured.empty())
        sample = Sample { std::strtod(measured.c_str(), nullptr), usage.ru_maxrss,
            milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime) };
    if (!sample) {
        std::cerr << program << ": "
                  << (timedOut                     ? "no first frame within the time-out"
                             : WIFSIGNALED(status) ? "ended by signal " + std::to_string(WTERMSIG(status))
                             : measured.empty()    ? "ended without a first frame"
                                                   : "exit status " + std::to_string(WEXITSTATUS(status)))
                  << "\n"
                  << output;
    }
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string list(const std::vector<double> &values, int decimals)
{
    std::string text;
    for (double v : values)
        text += (text.empty() ? "" : " ") + fixed(v, decimals);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const Options o = parse(argc, argv);
    // An inherited "ignore" would reap the children before wait4 sees them.
    std::signal(SIGCHLD, SIG_DFL);

    // Warm-up starts fill the file caches; they are not counted.
    for (int i = 0; i < o.warmup; ++i)
        for (const std::string &program : { o.program, o.baseline })
            if (!runOnce(o, program))
                return 2;

    std::vector<double> programMs, bareMs, programMb, bareMb, programCpu, bareCpu;
    for (int i = 0; i < o.runs; ++i) {
        // Who goes first alternates too.
        const bool programFirst = i % 2 == 0;
        for (int k = 0; k < 2; ++k) {
            const bool isProgram = (k == 0) == programFirst;
            const std::optional<Sample> s = runOnce(o, isProgram ? o.program : o.baseline);
            if (!s)
                return 2;
            (isProgram ? programMs : bareMs).push_back(s->ms);
            (isProgram ? programMb : bareMb).push_back(double(s->maxRssKb) / 1024.0);
            (isProgram ? programCpu : bareCpu).push_back(s->cpuMs);
        }
    }

    const double timeProgram = median(programMs);
    const double timeBare = median(bareMs);
    const double memProgram = median(programMb);
    const double memBare = median(bareMb);
    const double timeRatio = timeProgram / timeBare;
    const double memRatio = memProgram / memBare;

    std::cout << "start-up runs (ms): configurator " << list(programMs, 0) << " | bare " << list(bareMs, 0)
              << "\n";
    std::cout << "peak RSS runs (MB): configurator " << list(programMb, 1) << " | bare " << list(bareMb, 1)
              << "\n";
    std::cout << "start-up to first frame: " << fixed(timeProgram, 0) << " ms vs bare " << fixed(timeBare, 0)
              << " ms = " << fixed(timeRatio, 2) << "x (target <= " << fixed(TimeTarget, 1) << "x)"
              << (timeRatio <= TimeTarget ? "" : "  MISSED") << "\n";
    const double cpuProgram = median(programCpu);
    const double cpuBare = median(bareCpu);
    std::cout << "processor time of a whole run (for information): " << fixed(cpuProgram, 0) << " ms vs bare "
              << fixed(cpuBare, 0) << " ms = " << fixed(cpuProgram / cpuBare, 2) << "x\n";
    std::cout << "peak RSS: " << fixed(memProgram, 1) << " MB vs bare " << fixed(memBare, 1)
              << " MB = " << fixed(memRatio, 2) << "x (target <= " << fixed(MemoryTarget, 1) << "x)"
              << (memRatio <= MemoryTarget ? "" : "  MISSED") << "\n";
    return timeRatio <= TimeTarget && memRatio <= MemoryTarget ? 0 : 1;
}
