#pragma once

#include <QRect>

class QPropertyAnimation;
class QWidget;

// A window's frame change as the switching of pages shows it: animated while the window is on
// screen, at once otherwise, and finished at once when another change comes first (so the
// window never ends at a stale size).
class FrameAnimator
{
public:
    explicit FrameAnimator(QWidget *window)
        : m_window(window)
    {
    }

    void setFrame(const QRect &frame, bool animate);
    // Jumps to the end of an animation under way.
    void finish();
    bool isAnimating() const { return m_animation != nullptr; }

private:
    QWidget *m_window;
    QPropertyAnimation *m_animation = nullptr;
};
