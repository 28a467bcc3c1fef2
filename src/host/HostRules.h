#pragma once

#include <functional>
#include <string>

// Rules of the window that every dialog host follows the same way.
namespace hostrules {

// Enter clicks the push button that has the focus, when it is enabled; anywhere else it
// stands for IDOK.
bool EnterClicksFocus(int focusId, bool focusEnabled);

// Where a sorted list puts a new item among `count` sorted ones: after every item that
// sorts before it or equals it, so equal texts keep the order they came in.
int SortedInsertIndex(int count, const std::function<std::string(int)>& itemAt,
                      const std::string& text);

// The port list box's width when the client area is `clientWidth` wide: it alone follows
// the window's width, never below nothing. The other two are the template's, in the same
// pixels.
int PortListWidth(int templateListWidth, int templateClientWidth, int clientWidth);

}  // namespace hostrules
