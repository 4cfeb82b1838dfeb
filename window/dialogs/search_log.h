// The messages of one folder search: every message it raised, in order,
// whether shown as a box or kept because the user chose not to see more of
// its kind during the search.
#pragma once

#include "window_services.h"

#include <QSet>
#include <QString>
#include <vector>

namespace dorvelix {

class SearchLog {
public:
    struct Entry {
        SearchMessage message;
        bool shown = false;
    };

    // A new search: no messages, every kind shown.
    void begin();
    // Whether a message of kind is still to be shown as a box.
    bool showsKind(const QString& kind) const { return !muted_.contains(kind); }
    void mute(const QString& kind) { muted_.insert(kind); }
    void add(const SearchMessage& message, bool shown);

    const std::vector<Entry>& entries() const { return entries_; }
    // How many messages were kept without a box.
    int hiddenCount() const { return hidden_; }

private:
    std::vector<Entry> entries_;
    QSet<QString> muted_;
    int hidden_ = 0;
};

}  // namespace dorvelix
