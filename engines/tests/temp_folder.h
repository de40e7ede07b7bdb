#pragma once
// A fresh program folder per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace engines::testing {

class TempFolder {
  public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("pandrel-engines-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }

    /// The folder with its "/".
    std::string dir() const { return m_path.string() + "/"; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_path / name, std::ios::binary) << text;
    }
    bool Has(const std::string& name) const { return std::filesystem::exists(m_path / name); }

  private:
    std::filesystem::path m_path;
};

}  // namespace engines::testing
