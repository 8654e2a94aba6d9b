// Inside the forms layer: the filter that turns a control widget's mouse and focus
// events into the control's events, each run as an entry point from Qt.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace vb {

class Control;

class ControlEventFilter : public QObject {
public:
    ControlEventFilter(Control* control, QObject* parent) : QObject(parent), control_(control) {}
    // The control is going; its widget may still receive events until it is deleted.
    void Detach() { control_ = nullptr; }
    void AddPart(QWidget* part) { parts_.push_back(part); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Watches(QObject* watched) const;
    Control* control_;
    std::vector<QPointer<QWidget>> parts_;
    bool afterDoubleClick_ = false;
};

}  // namespace vb
