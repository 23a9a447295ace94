// Checked<T>: what a step of `ztl` that may refuse its input returns: its value, or the Problem
// that says why not. A refusal is an ordinary return; nothing is thrown. The library reports
// with error numbers (Outcome); the tool reports to people and to JSON-RPC clients, in words.
//
// Example:
//   Checked<int> Port(const Json& field) {
//     if (!field.is_number_integer()) return Problem("the port must be a whole number");
//     return field.get<int>();
//   }
//   Checked<int> port = Port(json);
//   if (!port) return port.problem();   // passes the problem on, to a Checked of any type
//   Listen(*port);
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace ztl::cli {

// Why a step refused: the message for the person or client, and where `ztl serve` answers
// with it, the JSON-RPC error code and the error's "data" (a failed call's error number).
struct Problem {
  explicit Problem(std::string text, int rpc_code = 0, std::optional<long long> rpc_data = std::nullopt)
      : message(std::move(text)), code(rpc_code), data(rpc_data) {}

  std::string message;
  int code;
  std::optional<long long> data;
};

template <class T>
class [[nodiscard]] Checked {
 public:
  // A value: anything a T is made from.
  template <class U = T>
    requires std::is_constructible_v<T, U&&> && (!std::is_same_v<std::remove_cvref_t<U>, Checked>) &&
             (!std::is_same_v<std::remove_cvref_t<U>, Problem>)
  Checked(U&& value) : state_(std::in_place_index<0>, std::forward<U>(value)) {}  // NOLINT: implicit
  // A refusal.
  Checked(Problem problem) : state_(std::in_place_index<1>, std::move(problem)) {}  // NOLINT: implicit

  explicit operator bool() const noexcept { return state_.index() == 0; }

  // The value. Note: only for a value.
  const T& operator*() const& { return *std::get_if<0>(&state_); }
  T& operator*() & { return *std::get_if<0>(&state_); }
  T&& operator*() && { return std::move(*std::get_if<0>(&state_)); }
  const T* operator->() const { return std::get_if<0>(&state_); }
  T* operator->() { return std::get_if<0>(&state_); }

  // The problem. Note: only for a refusal.
  const Problem& problem() const { return *std::get_if<1>(&state_); }

 private:
  std::variant<T, Problem> state_;
};

}  // namespace ztl::cli
