#pragma once

#include "platform/win32/WinApi.h"

#include <map>
#include <memory>
#include <string>

#include "res/WorkshopControls.h"

class CWorkshopView;

// Makes the workshop's controls (res/WorkshopControls.h) as child windows, one per control,
// in their order, which is also the Tab key's; the views are CWorkshopView windows.
namespace workshopbuilder {

// The window class and styles of a control.
std::wstring ControlClass(const res::SWorkshopControl& control);
DWORD ControlStyle(const res::SWorkshopControl& control);

// Creates the controls in `parent`; each view's object is made into `views`, which must
// outlive the windows. Answers the windows by id; a control that could not be made is null.
std::map<int, HWND> BuildControls(HWND parent, HINSTANCE instance,
                                  std::map<int, std::unique_ptr<CWorkshopView>>& views);

}  // namespace workshopbuilder
