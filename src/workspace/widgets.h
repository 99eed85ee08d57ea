#pragma once
// Small builders for the window's controls. Every control carries its
// established name as objectName, so tests and layouts can find it.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace fulgor {

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QPushButton* makeButton(const char* name, const QString& caption,
                               QWidget* parent = nullptr) {
    return named(new QPushButton(caption, parent), name);
}

inline QRadioButton* makeOption(const char* name, const QString& caption,
                                QWidget* parent = nullptr) {
    return named(new QRadioButton(caption, parent), name);
}

inline QLabel* makeLabel(const char* name, const QString& caption = {}, QWidget* parent = nullptr) {
    return named(new QLabel(caption, parent), name);
}

inline QGroupBox* makeFrame(const char* name, const QString& caption, QWidget* parent = nullptr) {
    return named(new QGroupBox(caption, parent), name);
}

}  // namespace fulgor
