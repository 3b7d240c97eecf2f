// CAN logs a technician brings to the bus check: whatever reads is held against a small receive
// table, and every frame read reaches the check once.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "buscheck/BusCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bus_Check_Setup setup;
    setup.device_address = 0x80;
    for (const quint32 id : {0x00FEF100u, 0x00FEE300u, 0x00EF8017u}) {
        Frame_Record r;
        r.Identifier = id;
        r.Data_Offset = quint16(setup.data_size);
        r.Start_Byte = 1;
        r.Byte_Count = 12;
        r.Transport = 1;
        setup.rows.push_back(r);
        setup.data_size += r.Byte_Count;
    }
    for (const bool peer : {false, true}) {
        setup.peer_to_peer = peer;
        Bus_Check check(setup);
        qint64 read = 0;
        try {
            For_Each_Log_Frame(Fuzz_Bytes(data, size), [&](const Can_Frame& f) {
                FUZZ_CHECK(f.size <= 8);
                FUZZ_CHECK(f.id <= (f.extended ? 0x1FFFFFFFu : 0x7FFu));
                ++read;
                check.Feed(f);
            });
        } catch (const App_Error&) {
            // a line that is no frame ends the reading; what was read before stays checked
        }
        FUZZ_CHECK(check.Frames() == read);
        FUZZ_CHECK(check.Data_Area().size() == setup.data_size);
        qint64 taken = 0;
        for (const Row_Result& r : check.Rows()) {
            FUZZ_CHECK(r.last_data.size() <= 1785);
            taken += r.stats.count;
        }
        FUZZ_CHECK(taken <= 3 * read);
    }
    return 0;
}
