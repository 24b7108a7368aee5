// Writes the Paradox fixtures of the log tests with pxlib:
//   Vestrel.dat       the six fields of the later old releases, three rows out of start order
//   Scatti.db         the oldest releases' table: a row without start date, costs to be replaced
//   Reordered.db      the six fields in another order and case, between two fields of other kinds
//   MissingCosto.dat  no "Costo" field
//   Truncated.dat     Vestrel.dat cut inside its first data block
// Usage: log_fixture_tables OUTPUT_DIR

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" {
#include <paradox.h>
}

namespace {

struct Field {
    const char* name;
    char type;
    int length;
};

// A value of one field: NULL, a whole number (dates, times, alpha ignored) or a float.
struct Value {
    bool null = true;
    long integer = 0;
    double number = 0;
};

Value none() { return {}; }
Value date(int y, int m, int d) { return {false, PX_GregorianToSdn(y, m, d) - 1721425, 0}; }
Value time(int h, int n, int s) { return {false, ((h * 60L + n) * 60 + s) * 1000, 0}; }
Value number(double v) { return {false, 0, v}; }

void write(const std::string& path, const std::vector<Field>& spec, const std::vector<std::vector<Value>>& rows)
{
    pxdoc_t* doc = PX_new();
    auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * spec.size(), "fields"));
    for (std::size_t i = 0; i < spec.size(); ++i) {
        fields[i].px_fname = PX_strdup(doc, spec[i].name);
        fields[i].px_ftype = spec[i].type;
        fields[i].px_flen = spec[i].length;
        fields[i].px_fdc = 0;
    }
    if (PX_create_file(doc, fields, int(spec.size()), path.c_str(), pxfFileTypNonIndexDB) < 0) {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        std::exit(1);
    }
    std::vector<char> record(std::size_t(PX_get_recordsize(doc)));
    for (const auto& row : rows) {
        std::memset(record.data(), 0, record.size());
        int offset = 0;
        for (std::size_t i = 0; i < spec.size(); ++i) {
            char* at = record.data() + offset;
            const Value& v = row[i];
            if (!v.null) {
                switch (spec[i].type) {
                case pxfDate:
                case pxfTime:
                    PX_put_data_long(doc, at, spec[i].length, int(v.integer));
                    break;
                case pxfNumber:
                    PX_put_data_double(doc, at, spec[i].length, v.number);
                    break;
                case pxfAlpha:
                    PX_put_data_alpha(doc, at, spec[i].length, const_cast<char*>("nota"));
                    break;
                }
            }
            offset += spec[i].length;
        }
        PX_put_record(doc, record.data());
    }
    PX_close(doc);
    PX_delete(doc);
}

const std::vector<Field> sixFields = {
    {"Datainizio", pxfDate, 4}, {"Datafine", pxfDate, 4},       {"Orainizio", pxfTime, 4},
    {"Orafine", pxfTime, 4},    {"Numeroscatti", pxfNumber, 8}, {"Costo", pxfNumber, 8},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    PX_boot();

    // Datainizio, Datafine, Orainizio, Orafine, Numeroscatti, Costo.
    const std::vector<std::vector<Value>> vestrel = {
        {date(1999, 3, 15), date(1999, 3, 15), time(10, 0, 0), time(10, 30, 0), number(2.5), number(381.0)},
        {date(1999, 3, 14), date(1999, 3, 15), time(23, 50, 0), time(0, 10, 0), number(3.5), number(533.4)},
        {date(1999, 3, 16), date(1999, 3, 16), time(8, 0, 0), time(8, 5, 30), number(7), number(1066.8)},
    };
    write(dir + "Vestrel.dat", sixFields, vestrel);

    write(dir + "Scatti.db", sixFields,
          {
              {date(1998, 11, 2), date(1998, 11, 2), time(21, 15, 0), time(21, 40, 10), number(4), number(0)},
              {none(), date(1998, 11, 3), none(), time(9, 5, 0), number(1), none()},
          });

    write(dir + "Reordered.db",
          {{"NOTE", pxfAlpha, 10}, {"COSTO", pxfNumber, 8}, {"ORAFINE", pxfTime, 4},
           {"DATAFINE", pxfDate, 4}, {"NUMEROSCATTI", pxfNumber, 8}, {"ORAINIZIO", pxfTime, 4},
           {"DATAINIZIO", pxfDate, 4}, {"EXTRA", pxfNumber, 8}},
          {{number(0), number(381.0), time(10, 30, 0), date(1999, 3, 15), number(2.5), time(10, 0, 0),
            date(1999, 3, 15), number(99)}});

    write(dir + "MissingCosto.dat",
          {{"Datainizio", pxfDate, 4}, {"Datafine", pxfDate, 4}, {"Orainizio", pxfTime, 4},
           {"Orafine", pxfTime, 4}, {"Numeroscatti", pxfNumber, 8}},
          {{date(1999, 3, 15), date(1999, 3, 15), time(10, 0, 0), time(10, 30, 0), number(2)}});

    // The header and the start of the first block, as a copy cut short would leave it.
    FILE* in = std::fopen((dir + "Vestrel.dat").c_str(), "rb");
    std::vector<char> bytes(1 << 16);
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    FILE* out = std::fopen((dir + "Truncated.dat").c_str(), "wb");
    std::fwrite(bytes.data(), 1, size < 2100 ? size / 2 : 2100, out);
    std::fclose(out);
    PX_shutdown();
    return 0;
}
