#pragma once

#include "stepflow.h"
#include "stepkind.h"

#include <memory>

namespace kq {

// A step kind that builds a fresh window of the given class for every step, in the project
// style, and hands it to playBuilt: the runner plays it modally, the editor's preview on its
// stage. A window that cannot be set up in the project style ends the run as a fault.
template <class Window> class WindowStepKind : public StepKind
{
public:
    std::optional<qint16> play(const DialogRecord &record, qint16 projectStyle,
                               qint16 previousResult) final
    {
        if (!Window::canPlay(projectStyle))
            return std::nullopt;
        auto window = std::make_unique<Window>(record, projectStyle, previousResult);
        window->setCloseEndsRun(endlessLoop());
        return playBuilt(std::move(window), record);
    }

    StepFlow::Ending ending(const DialogRecord &record) const final
    {
        return StepFlow::ending(record);
    }

protected:
    virtual qint16 playBuilt(std::unique_ptr<Window> window, const DialogRecord &record) = 0;
};

// The runner's own: the window plays modally, as a window of its own.
template <class Window> class WindowStep final : public WindowStepKind<Window>
{
protected:
    qint16 playBuilt(std::unique_ptr<Window> window, const DialogRecord &) override
    {
        return window->play();
    }
};

} // namespace kq
