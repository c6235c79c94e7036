#pragma once

#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace dorvane::test {

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quote(const std::string &arg)
{
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Shell commands that make the disk look full after a few dozen KiB: files
// may grow to the limit ("ulimit -f" counts blocks of 512 bytes in sh), and
// the write past it fails with an error instead of a signal.
inline std::string diskFullAfter(int blocks)
{
    return "trap '' XFSZ; ulimit -f " + std::to_string(blocks);
}

inline std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

class Cli : public ::testing::Test
{
protected:
    CliRun run(const std::vector<std::string> &args) { return runProgram(TESSIQ_CLI_PATH, args); }

    // Runs a copy of the tool, which reads the settings beside it.
    CliRun runProgram(const std::string &program, const std::vector<std::string> &args)
    {
        return runCommand("", program, args, dir.file("out.txt"));
    }

    // Runs the tool with its standard output going to output (a file, or a
    // device such as /dev/full), after the shell commands of setup.
    CliRun runWith(const std::string &setup, const std::vector<std::string> &args,
                   const std::string &output)
    {
        return runCommand(setup, TESSIQ_CLI_PATH, args, output);
    }

    TempDir dir;

private:
    CliRun runCommand(const std::string &setup, const std::string &program,
                      const std::vector<std::string> &args, const std::string &output)
    {
        std::string command = setup.empty() ? "" : setup + "; ";
        command += "exec " + quote(program);
        for (const auto &a : args)
            command += " " + quote(a);
        command += " >" + quote(output) + " 2>" + quote(dir.file("err.txt"));
        const int raw = std::system(command.c_str());
        CliRun r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        // A device such as /dev/full would read back without end.
        if (std::filesystem::is_regular_file(output))
            r.out = slurp(output);
        r.err = slurp(dir.file("err.txt"));
        return r;
    }
};

} // namespace dorvane::test
