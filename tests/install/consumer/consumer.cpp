// consumer PROGRAM: its NCI text, corrected, every cycle expanded (as `morvane convert --nci`).
#include <morvane/convert.hpp>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string program, error, nci;
    if (argc != 2 || !morvane::readProgramFile(argv[1], program, error)) {
        std::fprintf(stderr, "consumer: %s\n", error.c_str());
        return 2;
    }
    const auto format = morvane::detectFormat(argv[1], program);
    const auto result = morvane::convertToNci(program, format.value_or(morvane::ProgramFormat::Fanuc),
                                              morvane::ConvertOptions{}, nci);
    return result.ok && std::fwrite(nci.data(), 1, nci.size(), stdout) == nci.size() ? 0 : 1;
}
