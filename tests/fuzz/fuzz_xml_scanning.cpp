// The XML scanner on any bytes, streamed a few bytes at a time: never a crash; every end
// it reports matches a start, it ends with every element closed or says the part is
// malformed, and it gives no more events than the bytes can hold (time linear in them).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "batch/xml_scanning.h"

namespace {

class Pieces : public msr::batch::ByteStream {
public:
    explicit Pieces(std::string_view bytes) : rest_(bytes) {}
    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, rest_.size(), std::size_t{3}});
        rest_.copy(buffer, count);
        rest_.remove_prefix(count);
        return count;
    }
    bool failed() const override { return false; }

private:
    std::string_view rest_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Event = msr::batch::XmlScanner::Event;
    Pieces pieces(std::string_view(reinterpret_cast<const char*>(data), size));
    msr::batch::XmlScanner scanner(pieces);
    std::size_t events = 0;
    std::size_t depth = 0;
    for (;;) {
        const Event event = scanner.next();
        if (++events > 2 * size + 2)
            std::abort(); // more events than the bytes hold
        if (event == Event::Start)
            ++depth;
        if (event == Event::End && depth-- == 0)
            std::abort(); // an end without its start
        if (scanner.depth() != depth && event != Event::Malformed)
            std::abort();
        if (event == Event::Done) {
            if (depth != 0)
                std::abort(); // ended with an element open
            break;
        }
        if (event == Event::Malformed)
            break;
    }
    if (scanner.bytesRead() > size)
        std::abort();
    return 0;
}
