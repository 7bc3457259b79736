#pragma once

// What a screen reader hears of a window, read as the accessibility bus
// reads it (QAccessible::queryAccessibleInterface(w)->text(Name)), and where
// Tab takes its user, checked against one table of rules.

#include <string>
#include <vector>

class QWidget;

namespace tessaron::test {

// The broken rules of a shown window, one line each, "<control>: <rule>",
// the control by its object name. Each page of its tab widgets is brought to
// the front in turn and checked on its own, as its user meets it.
std::vector<std::string> AccessibilityProblems(QWidget& window);

} // namespace tessaron::test
