#pragma once

namespace kestrane {

// Every port is an interface passed by reference: never copied, destroyed through the base.
class Port {
 public:
  Port() = default;
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;
  virtual ~Port() = default;
};

}  // namespace kestrane
