#pragma once

#include "stepflow.h"
#include "stepkind.h"

namespace kq {

// A step kind that builds a fresh window of the given class for every step and plays it.
// A window that cannot be set up in the project style ends the run as a fault.
template <class Window> class WindowStep final : public StepKind
{
public:
    std::optional<qint16> play(const DialogRecord &record, qint16 projectStyle,
                               qint16 previousResult) override
    {
        if (!Window::canPlay(projectStyle))
            return std::nullopt;
        Window window(record, projectStyle, previousResult);
        window.setCloseEndsRun(endlessLoop());
        return window.play();
    }

    StepFlow::Ending ending(const DialogRecord &record) const override
    {
        return StepFlow::ending(record);
    }
};

} // namespace kq
