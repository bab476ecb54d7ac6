// Stands in for the demo program in the launcher tests. Writes its working
// folder and then its arguments, one per line, to the file named by
// SOLENNE_STANDIN_RECORD; then, if SOLENNE_STANDIN_RELEASE names a file, waits
// (at most a minute) until that file exists; then exits with the code in
// SOLENNE_STANDIN_EXIT (0 when unset).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (const char* record = std::getenv("SOLENNE_STANDIN_RECORD")) {
        // Written aside and renamed, so a reader never sees half a record.
        const std::string partial = std::string(record) + ".part";
        {
            std::ofstream out(partial);
            char cwd[4096];
            out << "cwd " << (getcwd(cwd, sizeof cwd) ? cwd : "?") << "\n";
            for (int i = 1; i < argc; ++i)
                out << argv[i] << "\n";
        }
        std::rename(partial.c_str(), record);
    }

    if (const char* release = std::getenv("SOLENNE_STANDIN_RELEASE")) {
        for (int waited = 0; waited < 600 && access(release, F_OK) != 0; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    const char* exitCode = std::getenv("SOLENNE_STANDIN_EXIT");
    return exitCode ? std::atoi(exitCode) : 0;
}
