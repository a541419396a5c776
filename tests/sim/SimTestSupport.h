#pragma once
// What the virtual-printer tests share: a scratch folder of their own and whole files as bytes.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace simtest {

inline std::filesystem::path FreshFolder(const char* prefix) {
    static int counter = 0;
    const auto folder = std::filesystem::temp_directory_path() /
                        (prefix + std::to_string(std::random_device{}()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace simtest
