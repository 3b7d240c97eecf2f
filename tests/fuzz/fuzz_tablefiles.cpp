// The files technicians bring to the frame tables: a DBC database and a CSV sheet, cut from one
// input at a NUL byte. A DBC file that reads maps onto either table; a CSV sheet that reads is
// written and read back as the same rows.
#include "FuzzSupport.h"

#include "app/UComon.h"
#include "configurations/CsvTable.h"
#include "configurations/DbcFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> parts = Fuzz_Parts(Fuzz_Bytes(data, size), 2);
    try {
        const Dbc_File f = Parse_Dbc(parts[0], QStringLiteral("in.dbc"));
        for (const bool receive : {true, false}) {
            Dbc_Choice c;
            c.receive = receive;
            c.rows_left = 56;
            c.bytes_left = 455;
            const Dbc_Mapping m = Map_Dbc_Messages(f, c);
            FUZZ_CHECK(m.rows_taken <= 56 && m.bytes_taken <= 455);
            for (const Dbc_Row& r : m.rows)
                FUZZ_CHECK(r.skipped.isEmpty() == (r.cells.size() == 10));
        }
    } catch (const App_Error&) {
    }
    for (const Csv_Layout& layout : {Receive_Csv_Layout(), Send_Csv_Layout()}) {
        try {
            const Csv_Import in = Read_Csv_Table(parts[1], QStringLiteral("in.csv"), layout);
            const Csv_Import back =
                Read_Csv_Table(Csv_Text(layout, in.rows), QStringLiteral("back.csv"), layout);
            FUZZ_CHECK(back.rows == in.rows);
        } catch (const App_Error&) {
        }
    }
    return 0;
}
