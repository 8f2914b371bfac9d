#include "batch/rows_ahead.h"

#if defined(__EMSCRIPTEN__)

namespace msr::batch {

std::unique_ptr<SheetRows> ReadAhead(SheetRows&) {
    return nullptr;
}

} // namespace msr::batch

#else

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace msr::batch {
namespace {

// A chunk ends at so many rows or once its cells hold so many bytes, so that the rows read
// ahead stay within a few megabytes however long their cells (a row holds at most 1 MiB).
constexpr std::size_t kRowsPerChunk = 2048;
constexpr std::size_t kBytesPerChunk = std::size_t{1} << 20;
constexpr std::size_t kChunksAhead = 4;

std::size_t BytesOf(const SheetRow& row) {
    std::size_t bytes = row.refusal.size();
    for (const SheetCell& cell : row.cells)
        bytes += cell.text.size() + sizeof cell;
    return bytes;
}

class RowsAhead : public SheetRows {
public:
    explicit RowsAhead(SheetRows& source) : source_(source), bytes_(source.bytes()) {
        reader_ = std::thread([this] { readAll(); });
    }

    ~RowsAhead() override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopped_ = true; // the caller stopped early (an output that failed)
        }
        changed_.notify_all();
        reader_.join();
    }

    RowsAhead(const RowsAhead&) = delete;
    RowsAhead& operator=(const RowsAhead&) = delete;

    bool next(SheetRow& row) override {
        while (at_ == current_.rows.size()) {
            if (current_.last)
                return false;
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !ready_.empty() || problem_; });
            if (ready_.empty())
                std::rethrow_exception(problem_);
            current_ = std::move(ready_.front());
            ready_.pop_front();
            at_ = 0;
            bytesRead_ = current_.bytesRead;
            lock.unlock();
            changed_.notify_all();
        }
        std::swap(row, current_.rows[at_++]);
        return true;
    }

    const std::string& failure() const override { return current_.failure; }
    std::uint64_t bytesRead() const override { return bytesRead_; }
    std::uint64_t bytes() const override { return bytes_; }

private:
    struct Chunk {
        std::vector<SheetRow> rows;
        std::uint64_t bytesRead = 0;
        bool last = false;
        std::string failure;
    };

    void readAll() {
        try {
            for (bool more = true; more;) {
                Chunk chunk;
                chunk.rows.resize(kRowsPerChunk);
                std::size_t count = 0;
                std::size_t bytes = 0;
                while (count < kRowsPerChunk && bytes < kBytesPerChunk &&
                       (more = source_.next(chunk.rows[count])))
                    bytes += BytesOf(chunk.rows[count++]);
                chunk.rows.resize(count);
                chunk.bytesRead = source_.bytesRead();
                chunk.last = !more;
                if (chunk.last)
                    chunk.failure = source_.failure();
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return ready_.size() < kChunksAhead || stopped_; });
                if (stopped_)
                    return;
                ready_.push_back(std::move(chunk));
                lock.unlock();
                changed_.notify_all();
            }
        } catch (...) { // out of memory: the caller hears of it at the row it waits for
            const std::lock_guard<std::mutex> lock(mutex_);
            problem_ = std::current_exception();
        }
        changed_.notify_all();
    }

    SheetRows& source_;
    std::uint64_t bytes_;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> ready_;
    bool stopped_ = false;
    std::exception_ptr problem_;

    // the caller's side
    Chunk current_;
    std::size_t at_ = 0;
    std::uint64_t bytesRead_ = 0;
};

} // namespace

std::unique_ptr<SheetRows> ReadAhead(SheetRows& source) {
    return std::make_unique<RowsAhead>(source);
}

} // namespace msr::batch

#endif
