// Fills the settings of tevlanctl's manual page from the program's table of
// settings, so that the page lists exactly what `set` and `get` know:
//   make_man_settings IN OUT
// copies IN to OUT with the line ".\" settings: list" replaced by one entry
// per setting and ".\" settings: json" by get's JSON members.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "command/setting_table.h"

namespace {

// Text as roff shows it literally: a minus sign is "\-", a backslash "\e".
std::string Roff(const std::string& text)
{
    std::string out;
    for (char c : text) out += c == '-' ? "\\-" : c == '\\' ? "\\e" : std::string(1, c);
    return out;
}

std::string List()
{
    std::string out = ".RS\n.PD 0\n";
    bool first = true;
    for (const SettingDescriptor& d : SettingTable()) {
        out += first ? ".TP 24\n" : ".TP\n";
        first = false;
        out += d.indexCount ? ".BI \"" + Roff(d.name) + " \" N\n" : ".B " + Roff(d.name) + "\n";
        out += Roff(SettingHelpLine(d)) + "\n";
    }
    return out + ".RE\n.PD\n";
}

std::string Json()
{
    std::string out = ".nf\n{\"version\":1, \"profile\": N, \"by\": \"window\" | \"files\",\n \"settings\": {";
    const std::string indent(14, ' ');
    size_t column = out.size() - out.rfind('\n') - 1;
    bool first = true;
    for (const SettingDescriptor& d : SettingTable()) {
        std::string item = std::string("\"") + d.jsonName + "\"";
        if (d.indexCount) item += ": [" + std::to_string(d.indexCount) + "]";
        if (!first) {
            out += ",";
            ++column;
            if (column + 1 + item.size() > 72) {
                out += "\n" + indent;
                column = indent.size();
            } else {
                out += " ";
                ++column;
            }
        }
        first = false;
        out += item;
        column += item.size();
    }
    return out + "}}\n.fi\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_man_settings IN OUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "make_man_settings: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream page;
    int filled = 0;
    for (std::string line; std::getline(in, line);) {
        if (line == ".\\\" settings: list")
            page << List(), ++filled;
        else if (line == ".\\\" settings: json")
            page << Json(), ++filled;
        else
            page << line << "\n";
    }
    if (filled != 2) {
        std::cerr << "make_man_settings: " << argv[1] << " lacks a settings line\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page.str();
    return out.flush() ? 0 : 1;
}
