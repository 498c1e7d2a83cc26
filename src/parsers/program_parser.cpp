#include "parsers/program_parser.h"

#include <utility>

#include "parsers/heidenhain/parser.h"
#include "parsers/iso/iso_parsers.h"

namespace morvane {

namespace {

using ParserFactory = std::unique_ptr<ProgramParser> (*)(const LineSource*, std::string,
                                                         const SupportedCycleList&);

template <class Parser>
std::unique_ptr<ProgramParser> makeOf(const LineSource* lines, std::string nciPath,
                                      const SupportedCycleList& cycles) {
    return std::make_unique<Parser>(lines, std::move(nciPath), cycles);
}

struct ParserEntry {
    InputFormat format;
    ParserFactory make;
};

// The parser of each format of the list that has one. A dialect plugs itself in here; the driver
// stays as it is.
constexpr ParserEntry kParsers[] = {
    {InputFormat::Fanuc, &makeOf<FanucParser::Parser>},
    {InputFormat::Heidenhain, &HHParser::makeParser},
    {InputFormat::Siemens, &makeOf<SiemensParser::Parser>},
    {InputFormat::Sinumerik, &makeOf<SinumerikParser::Parser>},
    {InputFormat::Numeripath, &makeOf<NumeripathParser::Parser>},
};

}  // namespace

std::unique_ptr<ProgramParser> makeParser(int position, const LineSource* lines,
                                          std::string nciPath, const SupportedCycleList& cycles) {
    for (const ParserEntry& entry : kParsers)
        if (formatPosition(entry.format) == position)
            return entry.make(lines, std::move(nciPath), cycles);
    return nullptr;
}

}  // namespace morvane
