// Runs a command line as a user types it, keeping its status, standard output and standard error; checks SVG files.
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

struct Outcome { int status; std::string out, err; };

inline std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Named by process, since ctest may run several of these tests at once.
inline std::string scratch(const std::string& name) { return testing::TempDir() + std::to_string(getpid()) + name; }

// The line goes through /bin/sh, so it is split into words as a user's would be.
inline Outcome run(const std::string& line)
{
    const int status = std::system((line + " >" + scratch(".out") + " 2>" + scratch(".err")).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(scratch(".out")), readFile(scratch(".err"))};
}

inline Outcome camprofile(const std::string& arguments) { return run(CAMPROFILE " " + arguments); }

// Well-formed for xmllint and drawn by rsvg-convert.
inline void expectValidSvg(const std::string& path)
{
    EXPECT_EQ(run("xmllint --noout " + path).status, 0) << path;
    EXPECT_EQ(run("rsvg-convert -o " + path + ".png " + path).status, 0) << path;
}
