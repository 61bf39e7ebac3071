// Decoding the side pictures.
#pragma once
#include <memory>
#include <string>

// A decoded picture; the platform's object behind it is freed by the destructor.
class Picture {
public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

class Pictures {
public:
    virtual ~Pictures() = default;
    // Decodes the bytes of a picture file whose name ends in `extension`
    // (without the dot); throws AppError with the decoder's message when the
    // content cannot be decoded.
    virtual std::shared_ptr<Picture> Decode(const std::string& bytes, const std::u16string& extension) = 0;
};
