#pragma once

#include <QObject>

namespace lark::ui {

// The document of the single-document window. Lark keeps no document data: the watch list
// lives in the engine and the settings store, so there is nothing to open or save.
class LarkDoc : public QObject
{
    Q_OBJECT

public:
    explicit LarkDoc(QObject *parent = nullptr);
};

} // namespace lark::ui
