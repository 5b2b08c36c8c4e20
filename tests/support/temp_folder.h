#pragma once
// A fresh folder under /tmp for one test, removed with everything in it when
// the test ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class TempFolder {
public:
    // `prefix` names the folder ("tvl-profile-") so a leftover tells whose it is.
    explicit TempFolder(const std::string& prefix = "tvl-test-")
    {
        std::string tmpl = "/tmp/" + prefix + "XXXXXX";
        if (mkdtemp(tmpl.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp " << tmpl;
            return;
        }
        path_ = tmpl;
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // With a trailing '/', as the data-folder globals want it.
    std::string Slash() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};
