#include "app/FrameAnimator.h"

#include <QEasingCurve>
#include <QPropertyAnimation>
#include <QWidget>

void FrameAnimator::setFrame(const QRect &frame, bool animate)
{
    finish();
    if (!animate || !m_window->isVisible() || frame.size() == m_window->geometry().size()) {
        m_window->setGeometry(frame);
        return;
    }
    m_animation = new QPropertyAnimation(m_window, "geometry", m_window);
    m_animation->setDuration(180);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    m_animation->setStartValue(m_window->geometry());
    m_animation->setEndValue(frame);
    QObject::connect(m_animation, &QAbstractAnimation::finished, m_window, [this] {
        m_animation->deleteLater();
        m_animation = nullptr;
    });
    m_animation->start();
}

void FrameAnimator::finish()
{
    if (!m_animation)
        return;
    QPropertyAnimation *animation = m_animation;
    m_animation = nullptr;
    const QRect end = animation->endValue().toRect();
    animation->stop();
    delete animation;
    m_window->setGeometry(end);
}
