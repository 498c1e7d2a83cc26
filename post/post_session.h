// One conversion of an NCI program into NC code: the engine and the output family the
// settings choose, writing into one output buffer.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "nc_text.h"
#include "post_engine.h"
#include "post_settings.h"
#include "post_warnings.h"

namespace morvane::post {

class PostSession {
  public:
    // `settings` and `out` must outlive the session.
    PostSession(const PostSettings& settings, OutputBuffer& out);

    void record(const NciRecord& record) { engine_.record(record); }
    void finish() { engine_.finish(); }
    const PostWarnings& warnings() const { return warnings_; }

  private:
    PostWarnings warnings_;
    std::unique_ptr<PostOutput> output_;
    PostEngine engine_;
};

// Post-processes NCI text held in memory; the NC code comes back as text.
std::string postProcessText(std::string_view nci, const PostSettings& settings);

}  // namespace morvane::post
