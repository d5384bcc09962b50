#include "run_command.h"

#include "temp_dir.h"

#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kadromir::test_support {
namespace {
std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
} // namespace

CommandResult RunCommand(const std::vector<std::string>& argv) {
    TempDir dir;
    const std::string out = dir.Path() + "stdout";
    const std::string err = dir.Path() + "stderr";
    const pid_t child = ::fork();
    if (child == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    CommandResult result;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.ExitCode = WEXITSTATUS(status);
    }
    result.Output = Slurp(out);
    result.Error = Slurp(err);
    return result;
}

} // namespace kadromir::test_support
