#pragma once
#include <map>
#include <string>

namespace kestrane::fakes {

// Tells a fake's call to fail with a classic error number on its n-th call.
class Faults {
 public:
  void Arm(const std::string& call, int nth, int number) { armed_[call] = {nth, number}; }
  // Every call from the n-th on fails.
  void ArmFrom(const std::string& call, int nth, int number) { armed_[call] = {nth, number, true}; }
  void Clear() { armed_.clear(); counts_.clear(); }
  // Counts the call and throws FileError when it is the armed one.
  void Check(const std::string& call);
  int Count(const std::string& call) const {
    auto it = counts_.find(call);
    return it == counts_.end() ? 0 : it->second;
  }
  const std::map<std::string, int>& Counts() const { return counts_; }

 private:
  struct Shot {
    int nth = 0;
    int number = 0;
    bool onward = false;
  };
  std::map<std::string, Shot> armed_;
  std::map<std::string, int> counts_;
};

}  // namespace kestrane::fakes
