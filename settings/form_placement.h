#pragma once

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/ini_ctrl.h"

namespace travoli {

// Raised when a saved number cannot be read. Field() is the text that is no number; the
// message is rendered from it through the text table.
class EConvertError : public std::runtime_error {
  public:
    explicit EConvertError(std::string field)
        : std::runtime_error("saved number unreadable"), field_(std::move(field)) {}
    const std::string& Field() const { return field_; }

  private:
    std::string field_;
};

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
};

struct WindowPlacement {
    int flags = 0;
    int showCmd = 1;       // 1 normal, 2 minimized, 3 maximized, 0 hidden
    PlacementRect normal;  // the outer rectangle of the window in its normal state
};

// The bounding rectangle of all screens.
struct DesktopRect {
    int X0 = 0;
    int Y0 = 0;
    int W = 0;
    int H = 0;
};

// What the placement logic needs of the window it places.
class PlacementWindow {
  public:
    virtual ~PlacementWindow() = default;

    // False where the window system does not tell a window its position (Wayland): then
    // nothing is restored or saved.
    virtual bool PositionKnown() const = 0;
    virtual WindowPlacement GetWindowPlacement() const = 0;
    virtual void SetWindowPlacement(const WindowPlacement& placement) = 0;
    virtual DesktopRect Desktop() const = 0;

    // The window's class name, for the default value name; empty when it has none.
    virtual std::string ClassName() const { return {}; }
    // Switches off the window system's automatic placement.
    virtual void SetPositionDesigned() {}
    virtual void CenterWindow() {}
    virtual std::string ColorText() const { return {}; }
    virtual void SetColorText(const std::string&) {}
    virtual std::string FontText() const { return {}; }
    virtual void SetFontText(const std::string&) {}
};

enum TIniUse { ioNone, ioUseLink, ioUseGlobal };
enum TPlacementSaveOption { soColor, soFont, soPos, soSize, soState };
enum TPlacementOption { foAutoCenter, foAutoShow, foTryAdaptRes, foRestoreOnce };
using TPlacementSaveOptions = std::set<TPlacementSaveOption>;
using TPlacementOptions = std::set<TPlacementOption>;

// Saves the main window's placement when it is destroyed and puts it back when it is about to
// be shown. The settings default to what the main window uses: value "MainForm" in section
// "Common", the position only.
class TFormPlacement {
  public:
    TFormPlacement(PlacementWindow& owner, TIniCtrl* iniLink);

    TIniUse IniUse = ioUseLink;
    TIniCtrl* IniLink = nullptr;
    TPlacementSaveOptions IniSaveOptions = {soPos};
    std::string IniKey = "MainForm";
    std::string Section = "Common";
    TPlacementOptions Options = {foAutoShow};
    bool Enabled = true;
    std::function<void()> OnNoRestoreData;

    // The window calls these from its show and destroy events.
    void OwnerShow();
    void OwnerDestroy();

    // Throws EConvertError for a bad number and lets store errors travel.
    void RestorePlacement();
    void SavePlacement();

    bool Restored() const { return restored_; }

  private:
    TIniCtrl* Store() const;
    std::string ValueName() const;
    bool Has(TPlacementSaveOption option) const { return IniSaveOptions.count(option) != 0; }

    PlacementWindow& owner_;
    bool restored_ = false;
};

// "200,flags,show,left,top,right,bottom".
std::string PlacementText(const WindowPlacement& placement);

// The fields of a placement text: every "," ends a field; the text after the last "," is a
// field only when it is not empty.
std::vector<std::string> SplitPlacementFields(const std::string& text);

// Why a stored placement text would not be restored as it stands (it must be "200" and six
// integers, as RestorePlacement reads them); empty when it would.
std::string PlacementTextProblem(const std::string& text);

// Pulls a rectangle back onto the desktop, far edges first, so that a window larger than the
// desktop ends at its left and top edges.
PlacementRect KeepOnDesktop(PlacementRect rect, const DesktopRect& desktop);

}  // namespace travoli
