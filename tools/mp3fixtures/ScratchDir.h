#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
#include <string>

namespace fixtures {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "fonarel");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + "/" + name.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

} // namespace fixtures
