#pragma once

// Two exports for the object comparison, generated from one list of objects: most objects are
// the same on both sides; some differ in date, time, name or version, some exist on one side
// only, and database 1's Table 18 meets database 2's Form 18. Database 1's export writes dates
// and times as a German client does ("12.05.03", "[ 9:30:05]"), database 2's as an American one
// ("05/12/03", "[ 9:30:06 AM]", "11:11:11 PM"). Shared by the command-line and the GUI tests,
// with the rows both must show.
#include <string>
#include <vector>

namespace compareexports {

struct ExportedObject {
    std::string type;
    int id;
    std::string name; // OEM bytes
    std::string date; // "DD.MM.YY"
    std::string time; // "HH:MM:SS"
    std::string version;
};

inline std::vector<ExportedObject> objectsOf(int database)
{
    const bool second = database == 2;
    std::vector<ExportedObject> objects = {
        {"Table", 3, "Payment Terms", "12.05.03", "12:00:00", "NAVW14.00"},
        {"Table", 27, "Item", second ? "31.01.04" : "01.02.04", "10:00:00", "NAVW14.00"},
        {"Table", 36, "Sales Header", second ? "16.03.05" : "15.03.05", "08:15:00", "NAVW14.00"},
        {"Form", 21, "Kunde \x9A" "bersicht", "01.02.95", second ? "09:30:06" : "09:30:05", "NAVW13.70"},
        {"Report", 206, second ? "Sales - Invoice" : "Sales Invoice", "09.09.08", "23:11:11", "NAVW15.00"},
        {"Codeunit", 80, "Sales-Post", "31.12.29", "23:59:59", second ? "NAVW15.00,QLX1.1" : "NAVW15.00"},
        {"XMLport", 6000, "Export Items", "29.02.04", "00:00:00", second ? "QLX2" : "QLX1"},
    };
    // The bulk both databases share unchanged.
    for (int id = 50100; id < 50120; ++id)
        objects.push_back({"Table", id, "Shared " + std::to_string(id), "01.07.23", "14:00:00", "QLX1.00"});
    if (second) {
        objects.push_back({"Form", 18, "Customer Card", "14.07.03", "12:00:00", "NAVW14.00"});
        objects.push_back({"Codeunit", 50001, "Only Two", "05.05.05", "05:05:05", "QLX2"});
        objects.push_back({"Page", 21, "Customer Card", "05.07.23", "22:06:14", "NAVW17.00"});
    } else {
        objects.push_back({"Table", 18, "Customer", "14.07.03", "12:00:00", "NAVW14.00"});
        objects.push_back({"Dataport", 50000, "Only One", "01.01.99", "07:00:00", ""});
    }
    return objects;
}

// "DD.MM.YY" as database 2's client writes it: "MM/DD/YY".
inline std::string monthFirst(const std::string& date)
{
    return date.substr(3, 2) + "/" + date.substr(0, 2) + "/" + date.substr(6, 2);
}

// "HH:MM:SS" as an export writes it: a single-digit hour stands in brackets behind a blank; with
// twelveHours "AM" or "PM" follows.
inline std::string exportTime(const std::string& time, bool twelveHours)
{
    int hour = std::stoi(time.substr(0, 2));
    std::string rest = time.substr(2);
    std::string suffix;
    if (twelveHours) {
        suffix = hour < 12 ? " AM" : " PM";
        hour = hour % 12 == 0 ? 12 : hour % 12;
    }
    std::string text = std::to_string(hour) + rest + suffix;
    return hour < 10 ? "[ " + text + "]" : text;
}

// The export text of one database's objects, in the OEM code page with CR LF line ends.
inline std::string exportOf(int database)
{
    std::string text;
    for (ExportedObject o : objectsOf(database)) {
        o.date = database == 2 ? monthFirst(o.date) : o.date;
        o.time = exportTime(o.time, database == 2);
        text += "OBJECT " + o.type + " " + std::to_string(o.id) + " " + o.name + "\r\n{\r\n";
        text += "  OBJECT-PROPERTIES\r\n  {\r\n";
        text += "    Date=" + o.date + ";\r\n    Time=" + o.time + ";\r\n";
        text += "    Version List=" + o.version + ";\r\n  }\r\n";
        text += "  PROPERTIES\r\n  {\r\n  }\r\n}\r\n\r\n";
    }
    return text;
}

// The heading and the rows of comparing database 1 with database 2 (types 1 to 6, so the page
// is not read and the XMLport has no type word), cells joined by TAB, in UTF-8.
inline std::vector<std::string> expectedRows()
{
    return {
        "State\tType\tID\tName\tVersion\tDate1\tDate2\tDate Diff.\tTime1\tTime2\tName1\tName2\tVersion1\tVersion2",
        "New\tTable\t18\tCustomer\tNAVW14.00\t2003-07-14\t\t9999\t12:00:00\t\tCustomer\t\tNAVW14.00\t",
        "Different\tTable\t27\tItem\tNAVW14.00\t2004-02-01\t2004-01-31\t1\t10:00:00\t10:00:00\tItem\tItem\t"
        "NAVW14.00\tNAVW14.00",
        "Different\tTable\t36\tSales Header\tNAVW14.00\t2005-03-15\t2005-03-16\t-1\t08:15:00\t08:15:00\t"
        "Sales Header\tSales Header\tNAVW14.00\tNAVW14.00",
        "Different\tForm\t21\tKunde \xC3\x9C" "bersicht\tNAVW13.70\t1995-02-01\t1995-02-01\t0\t09:30:05\t09:30:06\t"
        "Kunde \xC3\x9C" "bersicht\tKunde \xC3\x9C" "bersicht\tNAVW13.70\tNAVW13.70",
        "Different\tReport\t206\tSales Invoice\tNAVW15.00\t2008-09-09\t2008-09-09\t0\t23:11:11\t23:11:11\t"
        "Sales Invoice\tSales - Invoice\tNAVW15.00\tNAVW15.00",
        "New\tDataport\t50000\tOnly One\t\t1999-01-01\t\t9999\t07:00:00\t\tOnly One\t\t\t",
        "Different\tCodeunit\t80\tSales-Post\tNAVW15.00\t2029-12-31\t2029-12-31\t0\t23:59:59\t23:59:59\t"
        "Sales-Post\tSales-Post\tNAVW15.00\tNAVW15.00,QLX1.1",
        "Different\t\t6000\tExport Items\tQLX1\t2004-02-29\t2004-02-29\t0\t00:00:00\t00:00:00\tExport Items\t"
        "Export Items\tQLX1\tQLX2",
        "New\tForm\t18\tCustomer Card\tNAVW14.00\t\t2003-07-14\t-9999\t\t12:00:00\t\tCustomer Card\t\tNAVW14.00",
        "New\tCodeunit\t50001\tOnly Two\tQLX2\t\t2005-05-05\t-9999\t\t05:05:05\t\tOnly Two\t\tQLX2",
    };
}

} // namespace compareexports
