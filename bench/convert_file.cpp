// Converts one NC program file to NCI with the core library alone (no plug-in, no dialog) and
// reports the time it took. Used to measure the conversion path on large generated programs.
//
//   convert_file FORMAT INPUT OUTPUT
//   FORMAT: fanuc | heidenhain | siemens | sinumerik | numeripath
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"
#include "parsers/program_parser.h"

namespace {

struct FileLines {
    std::string text;
    std::vector<std::size_t> starts;  // offset of each line; lines are NUL-terminated in place
};

bool loadLines(const char* path, FileLines& file) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    file.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::size_t start = 0;
    while (start < file.text.size()) {
        std::size_t end = file.text.find('\n', start);
        if (end == std::string::npos) end = file.text.size();
        std::size_t stop = end;
        if (stop > start && file.text[stop - 1] == '\r') --stop;
        if (stop < file.text.size()) file.text[stop] = '\0';
        file.starts.push_back(start);
        start = end + 1;
    }
    file.text.push_back('\0');
    return true;
}

std::int32_t lineCount(void* context, std::int32_t* count) {
    *count = static_cast<std::int32_t>(static_cast<FileLines*>(context)->starts.size());
    return 1;
}

std::int32_t getLine(void* context, std::int32_t index, const char** text) {
    auto* file = static_cast<FileLines*>(context);
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < file->starts.size();
    *text = inside ? file->text.c_str() + file->starts[static_cast<std::size_t>(index)] : nullptr;
    return 1;
}

constexpr std::pair<std::string_view, int> kFormats[] = {
    {"fanuc", 0}, {"heidenhain", 1}, {"siemens", 2}, {"sinumerik", 3}, {"numeripath", 4},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s fanuc|heidenhain|siemens|sinumerik|numeripath INPUT OUTPUT\n",
                     argv[0]);
        return 2;
    }
    int format = -1;
    for (const auto& [name, position] : kFormats)
        if (name == argv[1]) format = position;
    FileLines file;
    if (format < 0 || !loadLines(argv[2], file)) {
        std::fprintf(stderr, "%s: unknown format or unreadable input\n", argv[0]);
        return 2;
    }
    LineSource source{&file, &lineCount, &getLine};
    const auto start = std::chrono::steady_clock::now();
    auto parser = morvane::makeParser(format, &source, argv[3], {});
    if (parser == nullptr) {
        std::fprintf(stderr, "%s: format %s has no parser yet\n", argv[0], argv[1]);
        return 1;
    }
    parser->run();
    parser.reset();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double lines = static_cast<double>(file.starts.size());
    std::printf("%.0f lines in %.3f s: %.0f lines/s\n", lines, seconds, lines / seconds);
    return 0;
}
