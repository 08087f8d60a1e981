#pragma once
// A temporary directory removed with everything in it at the end of the scope.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace testsupport {

class CTempDir {
public:
    CTempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pellix-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot create a temp directory");
        }
        path = pattern;
    }
    ~CTempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
    std::filesystem::path path;
};

} // namespace testsupport
