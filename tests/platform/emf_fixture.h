#pragma once

// Helpers for metafile tests: listing the records of a metafile, and running a metafile through the
// outside converter emf2svg-conv, which every metafile the tests write must pass.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "qor/platform/emf/metafile.h"
#include "qor/platform/le_bytes_p.h"

namespace emf_test {

struct Record {
    std::uint32_t type;
    std::size_t offset;
    std::uint32_t size;
};

inline std::vector<Record> records(const CEnhMetaFile& mf) {
    std::vector<Record> out;
    const auto bytes = mf.bytes();
    for (std::size_t at = 0; at + 8 <= bytes.size();) {
        const std::uint32_t type = QOR::detail::loadU32(bytes.data() + at);
        const std::uint32_t size = QOR::detail::loadU32(bytes.data() + at + 4);
        if (size < 8) break;
        out.push_back({type, at, size});
        at += size;
    }
    return out;
}

inline std::uint32_t field(const CEnhMetaFile& mf, const Record& r, std::size_t index) {
    return QOR::detail::loadU32(mf.bytes().data() + r.offset + 8 + 4 * index);
}

inline bool haveConverter() {
    return std::system("command -v emf2svg-conv >/dev/null 2>&1") == 0;
}

/// Converts the metafile with emf2svg-conv; the converter must succeed and write an SVG.
inline void expectConverts(const CEnhMetaFile& mf, const std::string& name) {
    if (!haveConverter()) GTEST_SKIP() << "emf2svg-conv is not installed (Debian package emf2svg)";
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qor_emf_tests";
    std::filesystem::create_directories(dir);
    const std::filesystem::path emf = dir / (name + ".emf"), svg = dir / (name + ".svg");
    std::FILE* f = std::fopen(emf.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(mf.bytes().data(), 1, mf.bytes().size(), f);
    std::fclose(f);
    std::filesystem::remove(svg);
    const std::string command =
        "emf2svg-conv -i '" + emf.string() + "' -o '" + svg.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << name;
    EXPECT_TRUE(std::filesystem::exists(svg) && std::filesystem::file_size(svg) > 0) << name;
}

} // namespace emf_test
