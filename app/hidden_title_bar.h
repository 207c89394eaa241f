#pragma once

#include <QDockWidget>
#include <QHBoxLayout>
#include <QWidget>

namespace korvane {

// Gives a docked bar no title: an empty title widget whose empty layout makes it zero-sized.
inline void HideTitleBar(QDockWidget& bar) {
    auto* title = new QWidget(&bar);
    auto* layout = new QHBoxLayout(title);
    layout->setContentsMargins(0, 0, 0, 0);
    bar.setTitleBarWidget(title);
}

}  // namespace korvane
