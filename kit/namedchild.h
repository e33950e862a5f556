#pragma once

#include <QAnyStringView>
#include <utility>

// No control is made without its object name: the tests find controls by
// it, and a style sheet or a status bar's panel picks its own out by it.
// The parent goes last, as in the toolkit's own constructors; a control that
// a layout, a scroll box or a page stack adopts afterwards has a null one.
template <typename T, typename Parent, typename... Args>
T* namedChild(Parent parent, QAnyStringView name, Args&&... args) {
    auto* child = new T(std::forward<Args>(args)..., parent);
    child->setObjectName(name);
    return child;
}
