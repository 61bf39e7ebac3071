#include "platform/AppError.h"

std::u16string ErrorBoxText(const std::u16string& message) {
    if (!message.empty() && message.back() > u'.') return message + u".";
    return message;
}

std::u16string ErrorMessageOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const AppError& e) {
        return e.Message();
    } catch (...) {
        return std::u16string();
    }
}

std::u16string TrimDescription(std::u16string description) {
    while (!description.empty() && (description.back() <= u' ' || description.back() == u'.')) description.pop_back();
    return description;
}
