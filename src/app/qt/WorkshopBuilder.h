#pragma once

#include <map>
#include <vector>

#include "res/WorkshopControls.h"

class QWidget;

// Turns the workshop's controls (res/WorkshopControls.h) into Qt widgets, one per control,
// chained for the Tab key in their order; the views are CWorkshopView.
namespace workshopbuilder {

std::map<int, QWidget*> BuildControls(QWidget* parent);

}  // namespace workshopbuilder
