// The front end's system services on Linux.
#pragma once

#include <optional>
#include <string>

#include "frontend/system_services.h"

namespace morvane::platform {

class PlatformServices final : public SystemServices {
  public:
    PlatformServices() = default;
    // A host directory other than the running program's, for test hosts with a Dll/ of their own.
    explicit PlatformServices(std::string hostDirectory)
        : hostDirectory_(std::move(hostDirectory)) {}

    std::string hostDirectory() override;
    std::string makeTemporaryFile() override;
    bool fileExists(const std::string& path) override;
    void removeFile(const std::string& path) override;
    void* loadLibrary(const std::string& path) override;
    void* findEntryPoint(void* library, const char* name) override;
    bool copyLibraryMemory(void* to, const void* from, std::size_t bytes) override;
    std::string lastProblem() override { return problem_; }

  private:
    std::optional<std::string> hostDirectory_;
    std::string problem_;
};

}  // namespace morvane::platform
