#pragma once

#include "editor/model/AdvancedClass.h"

namespace tessaron {

// What the pages of the Advanced ROM Properties dialog need of it: the working
// copy they edit, whether the dialog is filling its controls (then no handler
// stores anything), and the step after a handler stored its value.
class TAdvancedEditor
{
public:
    virtual ~TAdvancedEditor() = default;

    virtual TAdvancedParams& Work() = 0;
    virtual bool Loading() const = 0;
    // Refills the whole dialog from the working copy when asked, then marks
    // it changed ("*" in the caption, OK and Apply enabled).
    virtual void Changed(bool reload) = 0;
};

} // namespace tessaron
