// Opening and checking the five NavData files, and the bounded reads every other part relies on.

#include "navdisplay/nav_database.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace navdb {

std::size_t DataFile::record_count() const {
    if (!view || record_length == 0 || data_offset >= view.size()) return 0;
    return (view.size() - data_offset) / record_length;
}

const char* DataFile::record(std::size_t n) const {
    if (n >= record_count()) return nullptr;
    const std::size_t at = data_offset + n * record_length;
    const char* r = reinterpret_cast<const char*>(view.data()) + at;
    // A record line that is not ended where its length says is not a record.
    return r[record_length - 1] == '\n' ? r : nullptr;
}

namespace {

struct Slot {
    DataFile Database::*file;
    const char* name;
    int bit;
};
constexpr Slot kSlots[] = {
    {&Database::idx, "idx.dat", bit_idx}, {&Database::ndb, "ndb.dat", bit_ndb}, {&Database::vor, "vor.dat", bit_vor},
    {&Database::apt, "apt.dat", bit_apt}, {&Database::intx, "int.dat", bit_int},
};

// The header line ends at the first newline; the first record line at the next one.
void find_records(DataFile& f) {
    const char* begin = reinterpret_cast<const char*>(f.view.data());
    const std::size_t size = f.view.size();
    const void* nl = std::memchr(begin, '\n', size);
    f.data_offset = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - begin) + 1 : size;
    f.record_length = 0;
    if (f.data_offset >= size) return;
    const void* next = std::memchr(begin + f.data_offset, '\n', size - f.data_offset);
    const std::size_t end = next ? static_cast<std::size_t>(static_cast<const char*>(next) - begin) + 1 : size;
    f.record_length = end - f.data_offset;
}

}  // namespace

void close_database(Database& db) {
    for (const Slot& s : kSlots) db.*s.file = DataFile{};
}

void open_database(Database& db, const std::string& folder) {
    close_database(db);
    plat::MappedFile files[5];
    int failed = 0;
    for (int i = 0; i < 5; ++i) {
        auto f = plat::MappedFile::open(folder + "/" + kSlots[i].name);
        if (f)
            files[i] = std::move(f).value();
        else
            failed |= kSlots[i].bit;
    }
    if (failed) {
        db.status = 100 + failed;
        return;
    }
    for (int i = 0; i < 5; ++i) {
        auto v = files[i].map();
        if (v)
            (db.*kSlots[i].file).view = std::move(v).value();
        else
            failed |= kSlots[i].bit;
    }
    // The views stay; the file handles close here in every case.
    for (auto& f : files) f.close();
    if (failed) {
        close_database(db);
        db.status = 200 + failed;
        return;
    }
    int code = 400;
    for (const Slot& s : kSlots) {
        DataFile& f = db.*s.file;
        find_records(f);
        if (f.record_length != 0 && (f.view.size() - f.data_offset) % f.record_length != 0) code += s.bit;
    }
    if (code != 400) {
        db.status = code;
        return;
    }
    if (db.idx.record_length == 0) {
        db.status = 500;
        return;
    }
    const std::size_t listed = db.ndb.record_count() + db.vor.record_count() + db.apt.record_count() +
                               db.intx.record_count();
    db.status = listed == db.idx.record_count() ? 0 : 500;
}

bool field(const char* record, std::size_t length, int column, int width, char* out, std::size_t out_size) {
    if (out_size == 0) return false;
    out[0] = '\0';
    if (!record || column < 0 || width <= 0) return false;
    // The newline at the end of the record is not part of any column.
    const std::size_t usable = length > 0 ? length - 1 : 0;
    const std::size_t col = static_cast<std::size_t>(column);
    if (col >= usable) return false;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(width), usable - col);
    n = std::min(n, out_size - 1);
    std::memcpy(out, record + col, n);
    out[n] = '\0';
    return true;
}

double field_number(const char* record, std::size_t length, int column, int width, double fallback) {
    char text[32];
    if (!field(record, length, column, width, text, sizeof text)) return fallback;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    return end == text ? fallback : v;
}

char field_char(const char* record, std::size_t length, int column) {
    if (!record || column < 0 || static_cast<std::size_t>(column) + 1 >= length) return ' ';
    return record[column];
}

const DataFile* file_of_kind(const Database& db, char kind) {
    switch (kind) {
        case 'V': return &db.vor;
        case 'N': return &db.ndb;
        case 'A': return &db.apt;
        case 'I': return &db.intx;
        default: return nullptr;
    }
}

}  // namespace navdb
