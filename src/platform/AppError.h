// The error that travels up to the application's error box. Handlers that meet
// one are cut short; the message loop goes on.
#pragma once
#include <exception>
#include <string>

class AppError : public std::exception {
public:
    explicit AppError(std::u16string message) : message_(std::move(message)) {}
    const std::u16string& Message() const { return message_; }
    const char* what() const noexcept override { return "AppError"; }

private:
    std::u16string message_;
};

// The text the error box shows for a message: a "." is appended when the last
// character's code is above that of "."; an empty message stays empty.
std::u16string ErrorBoxText(const std::u16string& message);

// The message an error carries to the error box: an AppError's own message;
// any other failure (a library's exception, an exhausted memory) carries none,
// so its English what() text never reaches the user.
std::u16string ErrorMessageOf(std::exception_ptr error);

// A system error description with its trailing blanks and full stops removed,
// as the file errors quote it.
std::u16string TrimDescription(std::u16string description);
