#pragma once

#include <functional>
#include <string>

namespace travoli {

// Hands a web address or a "mailto:" address to the desktop. Open returns at once; `done`
// is called exactly once on the GUI thread, with false when the target could not be opened.
class LinkOpener {
  public:
    virtual ~LinkOpener() = default;
    virtual void Open(const std::string& target, std::function<void(bool ok)> done) = 0;
};

// Runs `xdg-open TARGET` (the target as one argument, unchanged) without waiting for it;
// a program that cannot be started or ends with a non-zero exit code counts as a failure.
class XdgLinkOpener : public LinkOpener {
  public:
    void Open(const std::string& target, std::function<void(bool ok)> done) override;
};

}  // namespace travoli
