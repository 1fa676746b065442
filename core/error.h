// The error value that replies and operations carry: the error class in bits
// 8-15, the error number in bits 0-7. -1 means "not set yet" (a reply that
// has not come).
#pragma once

class Error {
 public:
  static constexpr int kUnset = -1;
  // Class values of 5 and more are all "invalid".
  static constexpr int kInvalidClass = 5;

  Error() = default;
  explicit Error(int code) : code_(code) {}

  static int errorClass(int code);
  static int number(int code);

  int code() const { return code_; }
  void setCode(int code) { code_ = code; }
  int errorClass() const { return errorClass(code_); }
  int number() const { return number(code_); }
  // False for the invalid class (the unset code among it); otherwise true
  // exactly when the number is 0.
  bool ok() const;

 private:
  int code_ = kUnset;
};
