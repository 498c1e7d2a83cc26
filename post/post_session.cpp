#include "post_session.h"

#include "heidenhain_output.h"
#include "iso_output.h"

namespace morvane::post {

namespace {

std::unique_ptr<PostOutput> makeOutput(const PostSettings& settings, OutputBuffer& out) {
    if (settings.family == OutputFamily::Heidenhain)
        return std::make_unique<HeidenhainOutput>(settings, out);
    return std::make_unique<IsoOutput>(settings, out);
}

}  // namespace

PostSession::PostSession(const PostSettings& settings, OutputBuffer& out)
    : output_(makeOutput(settings, out)), engine_(*output_, settings, warnings_) {
    output_->setWarnings(warnings_);
}

std::string postProcessText(std::string_view nci, const PostSettings& settings) {
    OutputBuffer out;
    LineReader lines(nci);
    NciRecordReader reader(lines);
    PostSession session(settings, out);
    NciRecord record;
    while (reader.next(record))
        session.record(record);
    session.finish();
    return out.text();
}

}  // namespace morvane::post
