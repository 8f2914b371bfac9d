#include "cli/zlib_inflating.h"

#include <zlib.h>

#include <vector>

namespace msr::cli {
namespace {

class ZlibInflate : public batch::ByteStream {
public:
    explicit ZlibInflate(batch::ByteStream& compressed) : compressed_(compressed), input_(1 << 16) {
        good_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; // raw deflate, as zip holds it
    }
    ~ZlibInflate() override { inflateEnd(&stream_); }
    ZlibInflate(const ZlibInflate&) = delete;
    ZlibInflate& operator=(const ZlibInflate&) = delete;

    std::size_t read(char* buffer, std::size_t capacity) override {
        if (!good_ || ended_ || capacity == 0)
            return 0;
        stream_.next_out = reinterpret_cast<Bytef*>(buffer);
        stream_.avail_out = static_cast<uInt>(std::min<std::size_t>(capacity, 1u << 30));
        while (stream_.avail_out > 0 && !ended_) {
            if (stream_.avail_in == 0) {
                const std::size_t count = compressed_.read(input_.data(), input_.size());
                if (count == 0) { // the compressed bytes end before the stream does
                    good_ = false;
                    break;
                }
                stream_.next_in = reinterpret_cast<Bytef*>(input_.data());
                stream_.avail_in = static_cast<uInt>(count);
            }
            const int status = inflate(&stream_, Z_NO_FLUSH);
            if (status == Z_STREAM_END)
                ended_ = true;
            else if (status != Z_OK && status != Z_BUF_ERROR)
                good_ = false;
            if (!good_)
                break;
        }
        return static_cast<std::size_t>(reinterpret_cast<char*>(stream_.next_out) - buffer);
    }

    bool failed() const override { return !good_; }

private:
    batch::ByteStream& compressed_;
    std::vector<char> input_;
    z_stream stream_{};
    bool good_ = false;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<batch::ByteStream> InflateWithZlib(batch::ByteStream& compressed) {
    return std::make_unique<ZlibInflate>(compressed);
}

} // namespace msr::cli
