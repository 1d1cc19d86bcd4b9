#include "settings/form_placement.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace travoli {

namespace {

constexpr const char* Marker = "200";

// X11 keeps a window's position and its size in 16 bits each: no edge of a window on any
// screen lies farther out than this, and sums of such edges stay far from overflowing.
constexpr int FarthestEdge = 1 << 17;

bool MayLieOnAScreen(int edge) {
    return edge >= -FarthestEdge && edge <= FarthestEdge;
}

int Narrowed(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

int ToInteger(const std::string& field) {
    std::int32_t value = 0;
    if (!ParseStoredInteger(field, value)) {
        throw EConvertError(field);
    }
    return value;
}

}  // namespace

std::string PlacementText(const WindowPlacement& placement) {
    const PlacementRect& rect = placement.normal;
    std::string text = Marker;
    for (int number :
         {placement.flags, placement.showCmd, rect.left, rect.top, rect.right, rect.bottom}) {
        text += ',' + std::to_string(number);
    }
    return text;
}

std::vector<std::string> SplitPlacementFields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    for (char ch : text) {
        if (ch == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += ch;
        }
    }
    if (!field.empty()) {
        fields.push_back(field);
    }
    return fields;
}

std::string PlacementTextProblem(const std::string& text) {
    const std::vector<std::string> fields = SplitPlacementFields(text);
    if (fields.size() != 7 || fields[0] != Marker) {
        return "a placement is \"200\" and six integers, separated by commas";
    }
    for (std::size_t i = 1; i < fields.size(); ++i) {
        std::int32_t value = 0;
        if (!ParseStoredInteger(fields[i], value)) {
            return "'" + fields[i] + "' is not an integer";
        }
    }
    return {};
}

PlacementRect KeepOnDesktop(PlacementRect rect, const DesktopRect& desktop) {
    // Worked in 64 bits: the edges and the desktop may come from anywhere.
    std::int64_t left = rect.left;
    std::int64_t top = rect.top;
    std::int64_t right = rect.right;
    std::int64_t bottom = rect.bottom;
    // The far edges are those of the desktop itself, which need not start at (0, 0).
    const std::int64_t farRight = std::int64_t{desktop.X0} + desktop.W;
    const std::int64_t farBottom = std::int64_t{desktop.Y0} + desktop.H;
    if (farRight < right) {
        left = farRight - std::abs(right - left);
        right = farRight;
    }
    if (farBottom < bottom) {
        top = farBottom - std::abs(bottom - top);
        bottom = farBottom;
    }
    if (left < desktop.X0) {
        right = desktop.X0 + std::abs(right - left);
        left = desktop.X0;
    }
    if (top < desktop.Y0) {
        bottom = desktop.Y0 + std::abs(bottom - top);
        top = desktop.Y0;
    }
    return {Narrowed(left), Narrowed(top), Narrowed(right), Narrowed(bottom)};
}

TFormPlacement::TFormPlacement(PlacementWindow& owner, TIniCtrl* iniLink)
    : IniLink(iniLink), owner_(owner) {}

TIniCtrl* TFormPlacement::Store() const {
    switch (IniUse) {
        case ioUseLink:
            return IniLink;
        case ioUseGlobal:  // the game keeps no store of the whole program
        case ioNone:
            break;
    }
    return nullptr;
}

std::string TFormPlacement::ValueName() const {
    if (!IniKey.empty()) {
        return IniKey;
    }
    const std::string className = owner_.ClassName();
    return className.empty() ? std::string("Form") : className.substr(1);
}

void TFormPlacement::OwnerShow() {
    if (!Enabled) {
        return;
    }
    if (Options.count(foRestoreOnce) != 0 && restored_) {
        return;
    }
    RestorePlacement();
    restored_ = true;
}

void TFormPlacement::OwnerDestroy() {
    if (Enabled) {
        SavePlacement();
    }
}

void TFormPlacement::RestorePlacement() {
    TIniCtrl* store = Store();
    if (store == nullptr || !owner_.PositionKnown()) {
        return;
    }
    const std::string name = ValueName();
    const std::string text = store->ReadText(Section, name, "");

    if (Has(soPos) || Has(soSize) || Has(soState)) {
        owner_.SetPositionDesigned();
        const WindowPlacement current = owner_.GetWindowPlacement();
        const std::vector<std::string> fields = SplitPlacementFields(text);
        bool usable = fields.size() == 7 && fields[0] == Marker;
        WindowPlacement placement = current;
        if (usable && Has(soState)) {
            placement.flags = ToInteger(fields[1]);
            placement.showCmd = ToInteger(fields[2]);
            if (Options.count(foAutoShow) == 0) {
                placement.showCmd = 0;
            }
        }
        std::vector<int> edges;  // bottom, right, top, left: converted in this order
        if (usable && (Has(soPos) || Has(soSize))) {
            for (int field = 6; field >= 3; --field) {
                edges.push_back(ToInteger(fields[field]));
            }
            // A position no screen can show is no position: as if none were stored.
            usable = std::all_of(edges.begin(), edges.end(), MayLieOnAScreen);
        }
        if (!usable) {
            if (Options.count(foAutoCenter) != 0) {
                owner_.CenterWindow();
            }
            if (OnNoRestoreData) {
                OnNoRestoreData();
            }
        } else {
            if (Has(soPos) || Has(soSize)) {
                const int bottom = edges[0];
                const int right = edges[1];
                const int top = edges[2];
                const int left = edges[3];
                const PlacementRect& now = current.normal;
                PlacementRect rect = now;
                if (Has(soPos)) {
                    rect.left = left;
                    rect.top = top;
                    if (Has(soSize)) {
                        rect.right = right;
                        rect.bottom = bottom;
                    } else {
                        rect.right = left + (now.right - now.left);
                        rect.bottom = top + (now.bottom - now.top);
                    }
                } else {
                    rect.right = now.left + (right - left);
                    rect.bottom = now.top + (bottom - top);
                }
                placement.normal = KeepOnDesktop(rect, owner_.Desktop());
            }
            owner_.SetWindowPlacement(placement);
        }
    }

    if (Has(soColor)) {
        const std::string color = store->ReadText(Section, name + "Color", "");
        if (!color.empty()) {
            owner_.SetColorText(color);
        }
    }
    if (Has(soFont)) {
        const std::string font = store->ReadText(Section, name + "Font", "");
        if (!font.empty()) {
            owner_.SetFontText(font);
        }
    }
}

void TFormPlacement::SavePlacement() {
    TIniCtrl* store = Store();
    if (store == nullptr || !owner_.PositionKnown()) {
        return;
    }
    const std::string name = ValueName();
    store->WriteText(Section, name, PlacementText(owner_.GetWindowPlacement()));
    if (Has(soColor)) {
        store->WriteText(Section, name + "Color", owner_.ColorText());
    } else {
        store->DeleteValue(Section, name + "Color");
    }
    if (Has(soFont)) {
        store->WriteText(Section, name + "Font", owner_.FontText());
    } else {
        store->DeleteValue(Section, name + "Font");
    }
}

}  // namespace travoli
