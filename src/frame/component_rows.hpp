// The three rows at the head of every component's interface: About and the Enabled property.
#pragma once

#include "member_table.hpp"
#include "ztldata/frame/component.hpp"

namespace ztl {

inline constexpr ParamInfo kEnabledLetParams[] = {NewValue(Type::Boolean)};

inline constexpr MemberInfo kAboutRow =
    Method<&Component::About>("About", kDispIdAbout, {}, Type::Void);
inline constexpr MemberInfo kEnabledGetRow =
    PropertyGet<Pick<Boolean() const noexcept>(&Component::Enabled)>("Enabled", kDispIdEnabled, {}, Type::Boolean);
inline constexpr MemberInfo kEnabledLetRow =
    PropertyLet<Pick<void(Boolean) noexcept>(&Component::Enabled)>("Enabled", kDispIdEnabled, kEnabledLetParams);

}  // namespace ztl
