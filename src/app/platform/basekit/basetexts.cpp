#include "basetexts.h"

#include <atomic>

namespace {

std::atomic<TTextLookup> gLookup{nullptr};

}  // namespace

void SetTextLookup(TTextLookup lookup) {
    gLookup = lookup;
}

QString BaseText(const QString& id, const QString& defaultText) {
    const TTextLookup lookup = gLookup;
    return lookup ? lookup(id, defaultText) : defaultText;
}
