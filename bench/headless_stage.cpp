#include "headless_stage.h"

#include <filesystem>

#include <unistd.h>

namespace bench {

HeadlessStage::HeadlessStage(const std::string& tag)
    : dataDir((std::filesystem::temp_directory_path() / ("tevlan-bench-" + tag + "-" + std::to_string(::getpid())))
                  .string())
{
    platform::g_windowHost = &host;
    platform::g_shellServices = &shell;
    startup.folders.executablePath = std::string(TEVLAN_BINARY_DIR) + "/tevlan";
    startup.dataDir = dataDir;
}

HeadlessStage::~HeadlessStage()
{
    platform::g_windowHost = nullptr;
    platform::g_shellServices = nullptr;
    std::error_code ec;
    std::filesystem::remove_all(dataDir, ec);
}

}  // namespace bench
