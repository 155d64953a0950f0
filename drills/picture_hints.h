#pragma once
// What a drill asks of the picture-hint panel under the pages: to show the keyboard map that suits
// the exercise. The panel does it by checking its selector for that map, as a learner's click
// would; a map already chosen stays as it is.

#include "practice_plan.h"

namespace drills {

class PictureHints {
public:
    virtual ~PictureHints() = default;
    virtual void show(KeyboardMap map) = 0;
};

} // namespace drills
