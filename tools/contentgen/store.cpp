// The store and the purchase dialog: the shop, its mask and speech bubble,
// the salesman's and the shop parrot's frames, the item pictures in their
// normal and highlighted looks, the stamps and the dialog's pictures.
#include <string>

#include "figure.h"
#include "sets.h"
#include "text.h"

namespace cg {

namespace {

Canvas shop() {
    Canvas c(800, 600);
    c.gradient(0, 0, 800, 600, rgb(0xE9C46A), rgb(0xC98B52));
    for (int s = 0; s < 3; ++s) c.rect(40, 150.0f + s * 140, 720, 12, rgb(0x7A4E2D));
    c.rect(300, 430, 360, 170, rgb(0x8D5524));
    c.rect(300, 430, 360, 14, rgb(0x6D4426));
    return c;
}

// The salesman: 0 normal, 1 eyes shut, 2 and 3 talking, 4 sad, 5 and 6 smiling.
Canvas salesman(int n) {
    Palette p;
    p.skin = rgb(0xD9A066);
    p.top = rgb(0x457B9D);
    p.hair = rgb(0x9A9A9A);
    Canvas c(160, 220);
    c.roundRect(40, 110, 80, 110, 20, p.top);
    c.ellipse(80, 70, 38, 42, p.skin);
    c.ellipse(80, 34, 30, 12, p.hair);
    drawEyes(c, Pt{66, 66}, Pt{94, 66}, 3.2f, n != 1, p);
    if (n == 2 || n == 3) c.ellipse(80, 92, 8, n == 2 ? 6.0f : 3.0f, rgb(0x7B2D26));
    else if (n == 4) drawMouth(c, Pt{80, 96}, 16, false, p);
    else drawMouth(c, Pt{80, 92}, n >= 5 ? 22.0f : 16.0f, n != 0, p);
    c.outline(kInk, 1);
    return c;
}

Canvas shopParrot(int n) {
    Canvas c(70, 90);
    const Rgba body = n == 2 ? rgb(0x52D273) : rgb(0x2BA84A);
    c.ellipse(35, 52, 18, 26, body);
    c.ellipse(35, 22, 13, 13, rgb(0xE63946));
    c.polygon({{44, 20}, {54, 26}, {44, 28}}, rgb(0xFFD60A));
    c.polygon({{22, 44}, {30, 44}, {n == 1 ? 8.0f : 16, 70}}, rgb(0x1D6FA3));
    c.line(29, 76, 28, 88, 3, rgb(0x6D4C41));
    c.line(41, 76, 42, 88, 3, rgb(0x6D4C41));
    c.outline(kInk, 1);
    return c;
}

Canvas item(const std::string& sName, bool bHighlight) {
    Canvas c(100, 90);
    c.roundRect(4, 4, 92, 82, 12, bHighlight ? rgb(0xFFF3B0) : rgb(0xF3E2BE));
    drawText(c, sName, 50, 34, TextStyle{13, true, rgb(0x5A3418), Align::Center});
    c.outline(bHighlight ? rgb(0xE76F51) : rgb(0x7A4E2D), bHighlight ? 3 : 1);
    return c;
}

Canvas stamp(const std::string& sWord, Rgba col) {
    Canvas c(100, 90);
    c.roundRect(8, 30, 84, 30, 6, rgb(0x000000, 90));
    drawText(c, sWord, 50, 36, TextStyle{15, true, col, Align::Center});
    return c;
}

}  // namespace

void makeStore(Output& out) {
    out.picture("upgrade_store", shop());
    Canvas mask(11, 330);
    mask.fill(rgb(0x7A4E2D));
    out.picture("store_mask", mask);
    Canvas bubble(150, 90);
    bubble.polygon({{20, 70}, {40, 70}, {8, 88}}, rgb(0xFFFFFF));
    bubble.roundRect(2, 2, 146, 72, 18, rgb(0xFFFFFF));
    bubble.outline(rgb(0x6C7A89), 1);
    out.picture("store_globito_normal", bubble);
    for (int i = 0; i < 7; ++i) out.picture("salesman_" + std::to_string(i + 1), salesman(i));
    for (int i = 0; i < 3; ++i) out.picture("store_parrot_" + std::to_string(i + 1), shopParrot(i));
    const char* const kItems[][2] = {
        {"store_bandeja1", "Tray"},   {"store_bandeja2", "Big tray"}, {"store_sillas", "Chairs"},
        {"store_jugomatic", "Juicer"}, {"store_parrot", "Parrot"},     {"store_decos", "Decor"},
        {"store_centros1", "Flowers"}, {"store_centros2", "Bouquet"},  {"store_cartel1", "Bongos"},
        {"store_cartel2", "Bongos 2"}, {"store_cartel3", "Dancer"},    {"store_cartel4", "Dancer 2"},
        {"store_barman1", "Barman"},  {"store_barman2", "Barman 2"},
    };
    for (const auto& it : kItems) {
        out.picture(std::string(it[0]) + "_normal", item(it[1], false));
        out.picture(std::string(it[0]) + "_highlight", item(it[1], true));
    }
    out.picture("store_soldout", stamp("SOLD OUT", rgb(0xE63946)));
    out.picture("store_notavail", stamp("LATER", rgb(0xFFFFFF)));
    Canvas dialog(340, 250);
    dialog.roundRect(0, 0, 340, 250, 20, rgb(0xF3E2BE));
    dialog.outline(rgb(0x7A4E2D), 2);
    out.picture("mask_buyupgrade", dialog);
    out.picture("buyupgrade_bandeja1_normal", item("Tray", false).crop(0, 0, 100, 90));
    out.picture("buyupgrade_bandeja2_normal", item("Big tray", false).crop(0, 0, 100, 90));
    Canvas blue(80, 45);
    blue.fill(rgb(0x1D4E89));
    out.picture("ui_fondo_azul", blue);
}

}  // namespace cg
