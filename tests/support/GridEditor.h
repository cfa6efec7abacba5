#pragma once
#include "platform/FlexGrid.h"

#include <QComboBox>
#include <QLineEdit>

// The text editor of a grid's open cell, a plain one or a combo's; null when none is open.
inline QLineEdit *GridLineEditor(const FlexGrid *grid)
{
    if (auto *c = qobject_cast<QComboBox *>(grid->Editor()))
        return c->lineEdit();
    return qobject_cast<QLineEdit *>(grid->Editor());
}
