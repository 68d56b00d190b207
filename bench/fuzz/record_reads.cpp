// Every kind of read, in an order chosen by the input itself.
#include "FuzzInput.h"
#include "content/FieldReader.h"
#include "content/RecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzInputFile(data, size);
    RecordReader in(path);
    for (size_t i = 0; i < size && !in.failed(); ++i) {
        switch (data[i] % 6) {
        case 0:
            in.token("a token");
            break;
        case 1:
            in.line("a line");
            break;
        case 2:
            in.bareInt("an int");
            break;
        case 3:
            in.intField("an int field");
            break;
        case 4:
            in.floatField("a float field");
            break;
        default:
            in.skipRestOfLine();
            break;
        }
    }
    FieldReader::readIntField(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
