// The program and tevlanctl as processes against one data folder: what
// killed saves leave behind, what a start writes, and linked files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "support/child_environment.h"
#include "support/utf16_bytes.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& env, const fs::path& errFile)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int e = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int n = open("/dev/null", O_WRONLY);
        dup2(n, 1);
        dup2(e, 2);
        std::vector<std::string> envCopy = env;
        std::vector<char*> cargv, cenv;
        for (std::string& a : argv) cargv.push_back(a.data());
        for (std::string& v : envCopy) cenv.push_back(v.data());
        cargv.push_back(nullptr);
        cenv.push_back(nullptr);
        execve(cargv[0], cargv.data(), cenv.data());
        _exit(127);
    }
    return pid;
}

class DataSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = tmp.Path();
        data = root / "data";
        fs::create_directories(data / "config");
        fs::create_directories(root / "run");
        env = WithSanitizerSettings({"QT_QPA_PLATFORM=offscreen", "HOME=" + root.string(),
                                     "XDG_CONFIG_HOME=" + (root / "xdg").string(),
                                     "XDG_RUNTIME_DIR=" + (root / "run").string()});
    }

    // One start of the program on the simulated mouse, closed the way the
    // desktop closes it once its window talks to the mouse (and `done` holds).
    void StartAndClose(std::vector<std::string> extra = {}, const std::function<bool()>& done = {})
    {
        std::vector<std::string> argv{TEVLAN_PATH, "--device", "sim", "--trace", "--data-dir", data.string()};
        argv.insert(argv.end(), extra.begin(), extra.end());
        // A file of its own: the last start's trace must not look like this one's.
        const fs::path err = root / ("stderr" + std::to_string(++starts));
        const pid_t pid = Spawn(argv, env, err);
        ASSERT_GT(pid, 0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int status = 0;
        bool ready = false;
        while (!ready && std::chrono::steady_clock::now() < deadline) {
            ready = ("\n" + ReadFile(err)).find("\nW ") != std::string::npos && (!done || done());
            if (!ready) {
                ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "tevlan ended early: " << ReadFile(err);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        if (!ready) kill(pid, SIGKILL);
        ASSERT_TRUE(ready) << ReadFile(err);
        ASSERT_EQ(kill(pid, SIGTERM), 0);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "status " << status << ": " << ReadFile(err).substr(0, 2000);
    }

    std::vector<std::string> ConfigFiles() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(data / "config")) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder tmp{"tvl-safety-"};
    int starts = 0;
    fs::path root, data;
    std::vector<std::string> env;
};

const char* const kSixFiles[] = {"config.ini", "default0.psf", "default1.psf", "default2.psf", "default3.psf",
                                 "default4.psf"};

TEST_F(DataSafety, WhatKilledSavesLeftInConfigIsGoneAfterOneStart)
{
    // Two leftovers for certain, then sixty writes killed at moments spread
    // over a write's whole run.
    for (const char* name : {"config.ini.tmp-Ab12Cd", "default1.psf.tmp-q1w2e3", "notes.tmp-1"})
        std::ofstream(data / "config" / name) << "x";
    for (int i = 0; i < 60; ++i) {
        const fs::path file = data / "config" / ("new" + std::to_string(i % 3) + ".psf");
        const pid_t pid = Spawn({TEVLANCTL_PATH, "--data-dir", data.string(), "profile", "new", file.string(), "--force"},
                                env, root / "ctl-stderr");
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(330 * i));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    StartAndClose();
    for (const std::string& name : ConfigFiles())
        EXPECT_TRUE(name == "notes.tmp-1" || name.find(".tmp-") == std::string::npos) << name;
    for (const char* name : kSixFiles) EXPECT_TRUE(fs::is_regular_file(data / "config" / name)) << name;
}

TEST_F(DataSafety, AStartAndCloseWithoutChangesWritesNothing)
{
    StartAndClose();
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const char* name : kSixFiles) ASSERT_EQ(utimensat(AT_FDCWD, (data / "config" / name).c_str(), old, 0), 0) << name;
    StartAndClose();
    for (const char* name : kSixFiles) {
        struct stat st{};
        ASSERT_EQ(stat((data / "config" / name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mtim.tv_sec, 1000000000) << name;
    }
}

TEST_F(DataSafety, LinkedFilesStayLinksAndTheirTargetsGetTheSave)
{
    StartAndClose();
    // The user keeps two of the files in a dotfiles folder.
    const fs::path dotfiles = root / "dotfiles";
    fs::create_directories(dotfiles);
    fs::rename(data / "config" / "config.ini", dotfiles / "config.ini");
    fs::rename(data / "config" / "default0.psf", dotfiles / "default0.psf");
    fs::create_symlink("../../dotfiles/config.ini", data / "config" / "config.ini");
    fs::create_symlink(dotfiles / "default0.psf", data / "config" / "default0.psf");
    const std::string profileBefore = ReadFile(dotfiles / "default0.psf");

    // Another sensor: every file is saved, the settings last.
    StartAndClose({"--sim-sensor", "0x60"}, [&] {
        return ReadFile(dotfiles / "config.ini").find(Le(u"PreST=0xCC9F").substr(2)) != std::string::npos;
    });
    EXPECT_TRUE(fs::is_symlink(data / "config" / "config.ini"));
    EXPECT_TRUE(fs::is_symlink(data / "config" / "default0.psf"));
    EXPECT_NE(ReadFile(dotfiles / "config.ini").find(Le(u"\nSensor=0x3360").substr(2)), std::string::npos);
    EXPECT_NE(ReadFile(dotfiles / "default0.psf"), profileBefore);
    std::vector<std::string> there;
    for (const auto& e : fs::directory_iterator(dotfiles)) there.push_back(e.path().filename().string());
    std::sort(there.begin(), there.end());
    EXPECT_EQ(there, (std::vector<std::string>{"config.ini", "default0.psf"}));
}

}  // namespace
