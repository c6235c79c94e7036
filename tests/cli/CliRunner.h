#pragma once

#include "support/TestSupport.h"

#include <cstdlib>
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
        std::string command = quote(program);
        for (const auto &a : args)
            command += " " + quote(a);
        command += " >" + quote(dir.file("out.txt")) + " 2>" + quote(dir.file("err.txt"));
        const int raw = std::system(command.c_str());
        CliRun r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(dir.file("out.txt"));
        r.err = slurp(dir.file("err.txt"));
        return r;
    }

    TempDir dir;
};

} // namespace dorvane::test
