#pragma once

#include <cstddef>

#include "vault/SealedRecord.h"

/// What opening one stored Item came to.
enum class RecordOpen {
    kOpened,     ///< every value opened; the plain record holds the Item
    kDamaged,    ///< it cannot be shown; it is kept, and the Items behind it still load
    kUnreadable  ///< the format cannot tell it from Items under another key: it and
                 ///< every Item behind it are kept unread
};

/// How one vault format seals the six values of an Item for the list
/// section and opens them again. The Item store does the storing; a codec
/// knows only the cipher and where a value belongs.
class IRecordCodec {
public:
    virtual ~IRecordCodec() = default;
    /// False when the key could not be made; nothing seals or opens then.
    virtual bool IsValid() const = 0;
    /// Longest Password the format keeps, in bytes.
    virtual std::size_t MaxPasswordBytes() const = 0;
    /// The number of Items the format vouches for, or -1 when the list
    /// simply ends at its end marker.
    virtual int VouchedCount() const { return -1; }
    /// Seals `plain`, Item `index` of the list, into `sealed`.
    virtual bool Seal(const SealedRecord& plain, int index, SealedRecord& sealed) = 0;
    /// Opens `sealed`, stored as Item `index`, into `plain`; `plain` is
    /// wiped unless it opened.
    virtual RecordOpen Open(const SealedRecord& sealed, int index, SealedRecord& plain) = 0;
};
