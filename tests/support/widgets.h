#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace fixture {

// Types the text into the widget one key event per character, as a pupil
// would. QTest::keyClicks cannot: it aborts on letters outside Latin-1.
void typeText(QWidget* widget, const QString& text);

// The entries of a combo box's list, in order.
QStringList comboItems(const QComboBox* box);

} // namespace fixture
