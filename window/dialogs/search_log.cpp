#include "search_log.h"

namespace dorvelix {

void SearchLog::begin()
{
    entries_.clear();
    muted_.clear();
    hidden_ = 0;
}

void SearchLog::add(const SearchMessage& message, bool shown)
{
    entries_.push_back({message, shown});
    if (!shown)
        ++hidden_;
}

}  // namespace dorvelix
