#pragma once

// Installs a formed-sheet catalogue written for a test and puts the bundled one back afterwards.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "qor/objlib/fsheet.h"

class TestSheetCatalogue {
public:
    explicit TestSheetCatalogue(const std::string& json) {
        m_file = std::filesystem::temp_directory_path() /
                 ("qor_fsheets_" + std::to_string(::getpid()) + "_" +
                  std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".json");
        EXPECT_TRUE(load(json)) << json;
    }
    /// Writes json over the catalogue file and loads it again.
    bool load(const std::string& json) const {
        std::ofstream(m_file) << json;
        return QOR::fsheetCatalogueLoad(m_file.wstring().c_str());
    }

    TestSheetCatalogue(const TestSheetCatalogue&) = delete;
    TestSheetCatalogue& operator=(const TestSheetCatalogue&) = delete;
    ~TestSheetCatalogue() {
        QOR::fsheetCatalogueLoad(nullptr);
        std::filesystem::remove(m_file);
    }

private:
    std::filesystem::path m_file;
};
