// Writing a command's result, with status 1 for a file that cannot be written; numbers by std::to_chars.
#include "camprofile/output.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>

std::string formatNumber(double value)
{
    // 32 characters hold the longest shortest form, e.g. -2.2250738585072014e-308.
    char text[32];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

CLI::Option* addOutputOption(CLI::App& command, std::string& path, const std::string& what)
{
    return command.add_option("-o,--output", path, what)->type_name("FILE");
}

void writeOutput(const std::string& path, const std::string& text, const std::string& option)
{
    if (path.empty() || path == "-") {
        std::cout << text << std::flush;
        if (std::cout)
            return;
        std::cerr << "camprofile: cannot write to standard output\n";
        throw CLI::RuntimeError(1);
    }
    // One write of the whole text: in the page, every write is a trip out to JavaScript's file system.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int error = errno;
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        std::cerr << "camprofile: " << option << ": cannot write '" << path << "': " << std::strerror(error) << '\n';
        throw CLI::RuntimeError(1);
    }
}
