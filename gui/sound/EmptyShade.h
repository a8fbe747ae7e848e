#pragma once
// The sound windows' fields show whether they hold anything: an empty one
// takes the colour of what it sits on, one with text the usual field colour.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

inline void ShadeField(QWidget* Field, bool Empty)
{
    QWidget* Under = Field->parentWidget() ? Field->parentWidget() : Field;
    QPalette P = Field->palette();
    P.setColor(QPalette::Base,
               Empty ? Under->palette().color(QPalette::Window) : QApplication::palette(Field).color(QPalette::Base));
    Field->setPalette(P);
}

inline void ShadeWhenEmpty(QLineEdit* Field)
{
    QObject::connect(Field, &QLineEdit::textChanged, Field,
                     [Field](const QString& Text) { ShadeField(Field, Text.isEmpty()); });
    ShadeField(Field, Field->text().isEmpty());
}

inline void ShadeWhenEmpty(QPlainTextEdit* Field)
{
    QObject::connect(Field, &QPlainTextEdit::textChanged, Field,
                     [Field] { ShadeField(Field, Field->document()->isEmpty()); });
    ShadeField(Field, Field->document()->isEmpty());
}
