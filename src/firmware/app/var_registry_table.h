// Building blocks of the variable tables: VAR("name", expr) makes an entry
// whose type and element count follow the expression's declared type.
#pragma once
#include <cstddef>
#include <type_traits>

#include "app/var_registry.h"

namespace ems {

template <typename T>
constexpr VarType var_type_of()
{
    using U = std::remove_cv_t<std::remove_all_extents_t<T>>;
    if constexpr (std::is_same_v<U, char>) return VarType::Text;
    else if constexpr (std::is_same_v<U, float>) return VarType::F32;
    else if constexpr (std::is_same_v<U, uint8_t>) return VarType::U8;
    else if constexpr (std::is_same_v<U, int8_t>) return VarType::I8;
    else if constexpr (std::is_same_v<U, uint16_t>) return VarType::U16;
    else if constexpr (std::is_same_v<U, int16_t>) return VarType::I16;
    else if constexpr (std::is_same_v<U, uint32_t>) return VarType::U32;
    else return VarType::I32;
}

template <typename T>
constexpr uint16_t var_count_of()
{
    if constexpr (std::is_array_v<T>) return uint16_t(sizeof(T) / sizeof(std::remove_all_extents_t<T>));
    else return 1;
}

// The settings fields, walked through the settings schema by path
// ("settings.pressure_cfg[1].label"). The entries returned are valid until the
// next call of the same function.
const VarInfo* find_settings_var(const char* name);
size_t settings_var_count();
const VarInfo& settings_var_at(size_t i); // i < settings_var_count()

} // namespace ems

#define VAR(name, expr) {name, &(expr), ::ems::var_type_of<decltype(expr)>(), ::ems::var_count_of<decltype(expr)>()}
