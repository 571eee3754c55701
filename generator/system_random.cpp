#include "generator/random_source.h"
#include "generator/secret_text.h"

#include <algorithm>
#include <cstdint>

namespace zelvaran {

SystemRandomSource::~SystemRandomSource() {
    SecureWipe(block_.data(), block_.size());
}

bool SystemRandomSource::FromSystem(void*, std::byte* data, std::size_t size) noexcept {
    return FillFromSystem(data, size);
}

void SystemRandomSource::Reseed() noexcept {
    // Bytes read but not handed out are thrown away too, so a run never starts on bytes that sat
    // in memory since an earlier one; a failure of an earlier run gets a fresh try.
    SecureWipe(&block_[spent_], kBlockBytes - spent_);
    used_ = spent_ = kBlockBytes;
    nextFill_ = kFirstFillBytes;
    failed_ = false;
}

void SystemRandomSource::WillRead(std::size_t bytes) noexcept {
    if (used_ == kBlockBytes && !failed_) {
        nextFill_ = std::max(nextFill_, std::min(bytes, kBlockBytes));
    }
}

void SystemRandomSource::WipeHandedOut() noexcept {
    SecureWipe(&block_[spent_], used_ - spent_);
    spent_ = used_;
}

bool SystemRandomSource::Refill() noexcept {
    // Fills only grow within a run, so this one covers the bytes handed out since the last wipe
    // and the few a wider value could not use: they are overwritten rather than wiped.
    const std::size_t start = kBlockBytes - nextFill_;
    if (!supply_.Fill(supply_.Context, &block_[start], nextFill_)) {
        SecureWipe(block_.data(), block_.size());
        used_ = spent_ = kBlockBytes;
        return false;
    }
    used_ = spent_ = start;
    nextFill_ = std::min(2 * nextFill_, kBlockBytes);
    return true;
}

} // namespace zelvaran
