#pragma once
// The exception for errors the user must repair. Its number lives only in its text: handlers that
// react to a number compare the leading digits of what().

#include <exception>
#include <string>

namespace mrw {

class UserErrorException : public std::exception {
  public:
    // Number 99 means "no number": what() is the message alone; otherwise "{number}: {message}".
    UserErrorException(int number, std::string message);
    const char* what() const noexcept override { return m_text.c_str(); }

  private:
    std::string m_text;
};

// True when the exception's text begins with the number's decimal digits followed by ':'.
bool gf_isUserError(const std::exception& e, int number);

}  // namespace mrw
