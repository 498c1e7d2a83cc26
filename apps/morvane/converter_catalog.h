// The converter files (*.conv) the host offers: those in its Converters/ directory, found by
// file name or by the name they give themselves, or any file given by path. Reading them is the
// post-processor's converter-file reader, so the host reports exactly what the post-processor
// would reject.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

struct ConverterEntry {
    std::string path;         // absolute
    std::string fileName;     // "Fanuc.conv"
    std::string name;         // [converter] name, empty when the file cannot be read
    std::string description;  // [converter] description
    std::string output;       // [converter] output: "iso", "heidenhain" or empty
    std::string fault;        // why the post-processor would reject the file; empty when fine
};

// Reads one converter file.
ConverterEntry describeConverter(const std::string& path);

// Every *.conv file of `directory`, sorted by file name; empty when the directory has none.
std::vector<ConverterEntry> listConverters(const std::string& directory);

// A --converter argument: an existing file given by path, or the converter of `directory` whose
// file name (with or without .conv) or own name matches without regard to case.
std::optional<ConverterEntry> findConverter(const std::string& argument,
                                            const std::string& directory);

// The converters as a list for messages: "  Fanuc.conv  Fanuc ISO G-code, ..." one a line.
std::string converterListing(const std::vector<ConverterEntry>& converters);

}  // namespace morvane::cli
