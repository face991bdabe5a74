#pragma once

#include <QString>

#include <compare>
#include <type_traits>

namespace lark::ui {

// A control's id, made only from the enums that name each dialog's controls
// (gui/resource_ids.h, engine/detail_ids.h).
class ControlId
{
public:
    template<typename Id>
    requires std::is_enum_v<Id>
    constexpr ControlId(Id id)
        : m_number(static_cast<int>(id))
    { }

    constexpr int number() const { return m_number; }
    // Every control's objectName, so tests find controls by their ids.
    QString objectName() const { return QString::number(m_number); }

    friend constexpr auto operator<=>(const ControlId &, const ControlId &) = default;

private:
    int m_number;
};

} // namespace lark::ui
