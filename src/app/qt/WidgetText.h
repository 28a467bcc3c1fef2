#pragma once

#include <string>

class QWidget;

// The text a control shows, whatever kind of widget it is: a drop-down list's selected
// item, an edit box's contents, a button's, label's or frame's caption; empty for others.
namespace widgettext {

std::string TextOf(const QWidget* widget);
// Sets it; a widget without a text of its own is left alone.
void SetTextOf(QWidget* widget, const std::string& text);

}  // namespace widgettext
