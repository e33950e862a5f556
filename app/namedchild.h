#pragma once

#include <QAnyStringView>
#include <utility>

// The windows, their tests and the texts of app/balloontexts.cpp find a
// control by its object name, so no control is made without one. The parent
// goes last, as in the toolkit's own constructors; a control that a layout, a
// scroll box or a page stack adopts afterwards is made with a null parent.
template <typename T, typename Parent, typename... Args>
T* namedChild(Parent parent, QAnyStringView name, Args&&... args) {
    auto* child = new T(std::forward<Args>(args)..., parent);
    child->setObjectName(name);
    return child;
}
