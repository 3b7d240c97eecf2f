// A fake external update tool. Its behaviour comes from the environment:
//   FAKE_TOOL_LOG      file that gets "started <argument count>" and, at the end, "ended <status>"
//   FAKE_TOOL_RUN_MS   how long it runs before it ends (default 0)
//   FAKE_TOOL_CHATTY   when set: writes to its standard output and error before it ends, as a
//                      tool reporting progress would
//   FAKE_TOOL_EXIT     its exit status (default 0)
//   FAKE_TOOL_CRASH    when set: it is ended by a signal (one that leaves no core file)
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

void Log(const std::string& line)
{
    const char* path = std::getenv("FAKE_TOOL_LOG");
    if (!path)
        return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

int Number(const char* name, int fallback)
{
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : fallback;
}

} // namespace

int main(int argc, char**)
{
    Log("started " + std::to_string(argc - 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(Number("FAKE_TOOL_RUN_MS", 0)));
    if (std::getenv("FAKE_TOOL_CHATTY")) {
        // More than a pipe holds, so that a write meets a closed pipe even if buffered.
        const std::string line(1023, '.');
        for (int i = 0; i < 256; ++i) {
            std::fprintf(stdout, "%s\n", line.c_str());
            std::fflush(stdout);
            std::fprintf(stderr, "%s\n", line.c_str());
            std::fflush(stderr);
        }
    }
    if (std::getenv("FAKE_TOOL_CRASH"))
        std::raise(SIGTERM);
    const int status = Number("FAKE_TOOL_EXIT", 0);
    Log("ended " + std::to_string(status));
    return status;
}
