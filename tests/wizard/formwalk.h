#pragma once

// Reading a built designer form back: which widgets it names and what its layouts hold.

#include <QHash>
#include <QList>
#include <QString>

class QLayoutItem;
class QObject;
class QWidget;

namespace FormWalk {

// The class a form names for the object (meta object class, or C++ type where there is none).
QString classOf(const QObject* object);
// A plain page, frame or page stack: what a form nests its other widgets in.
bool isFormContainer(const QWidget* widget);
// The widgets below root by object name, without looking inside composite and custom widgets,
// whose own children are not the form's business.
QHash<QString, QList<QWidget*>> formWidgets(QWidget* root);
// A layout item as the tests spell it: the widget's name, "hspacer" or "vspacer" for spacers
// that stretch along one direction (with the size hint when it is not 0x0), then " centred"
// for items added with AlignCenter.
QString describeItem(QLayoutItem* item);

} // namespace FormWalk
