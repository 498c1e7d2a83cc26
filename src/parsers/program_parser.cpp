#include "parsers/program_parser.h"

#include <array>

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

// Parser factories by format-list position. A dialect plugs itself in here; the driver stays as
// it is. An empty entry converts nothing (the NCI file stays empty).
constexpr std::array<ParserFactory, 5> kParsers = {
    &makeOf<FanucParser::Parser>,       // Fanuc
    &HHParser::makeParser,              // Heidenhain
    &makeOf<SiemensParser::Parser>,     // Siemens
    &makeOf<SinumerikParser::Parser>,   // Sinumerik
    &makeOf<NumeripathParser::Parser>,  // G&L Numeripath
};

}  // namespace

std::unique_ptr<ProgramParser> makeParser(int position, const LineSource* lines,
                                          std::string nciPath, const SupportedCycleList& cycles) {
    if (position < 0 || position >= static_cast<int>(kParsers.size())) return nullptr;
    ParserFactory factory = kParsers[static_cast<std::size_t>(position)];
    return factory != nullptr ? factory(lines, std::move(nciPath), cycles) : nullptr;
}

}  // namespace morvane
