#pragma once
// What every test folder shares: scratch folders, whole files as bytes and their lines, and
// environment variables set for one test only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace orbtest {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// A text's lines, without the line ends (LF or CR LF).
inline std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
    }
    return lines;
}

// A new empty folder under the temporary folder, named after prefix.
inline fs::path FreshFolder(const std::string& prefix) {
    static int counter = 0;
    const fs::path folder =
        fs::temp_directory_path() / (prefix + std::to_string(std::random_device{}()) + "-" + std::to_string(++counter));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        Set(name, value);
    }
    ~ScopedEnv() { Set(name_.c_str(), saved_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    static void Set(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name, value ? value->c_str() : "");  // an empty value removes it
#else
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
#endif
    }
    std::string name_;
    std::optional<std::string> saved_;
};

// A folder of its own for each test, removed afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshFolder("orb-test-"); }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static void Put(const std::string& path, const std::string& bytes) { WriteBytes(path, bytes); }
    static std::string Get(const std::string& path) { return ReadBytes(path); }
    // Names in the folder, sorted, to see that nothing was left behind.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

}  // namespace orbtest
