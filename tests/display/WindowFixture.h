// A real window on the test X server, built with chosen options, for tests
// that draw through the window's primitives and read the pixels back.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/cmdLine.h"
#include "display/Ph5.h"
#include "display/Window.h"
#include "display/XHarness.h"
#include "support/Fresh.h"

struct WindowOptions {
    const char *geometry = "";
    const char *label = "";
    int fg[3] = {0, 0, 0};
    int bg[3] = {0, 0, 0};
    int sw[3] = {0, 0, 0};
};

class OnScreen : public ::testing::Test {
protected:
    xtest::Connection x; // the test's own look at the server
    std::unique_ptr<Windex> window;

    void SetUp() override {
        REQUIRE_X_DISPLAY();
        ASSERT_NE(x.get(), nullptr) << "cannot reach the X server named by DISPLAY";
    }

    // Builds the window as the program would with these options.
    Windex &open(const WindowOptions &o, const char *banner = "Norvale v20190205") {
        freshNetlist();
        std::strcpy(XW_geometry, o.geometry);
        std::strcpy(WindowLabelString, o.label);
        red_fg = o.fg[0], green_fg = o.fg[1], blue_fg = o.fg[2];
        red_bg = o.bg[0], green_bg = o.bg[1], blue_bg = o.bg[2];
        red_sw = o.sw[0], green_sw = o.sw[1], blue_sw = o.sw[2];
        window.reset();
        window = std::make_unique<Windex>(banner);
        return *window;
    }

    // A 512 x 512 window whose view maps schematic units 1:1 onto pixels.
    Windex &openOneToOne(WindowOptions o = {}) {
        o.geometry = "512x512+20+20";
        Windex &w = open(o);
        w.setView(0, 0, 512, 512);
        return w;
    }

    uint32_t pixel(int px, int py) { return xtest::pixelAt(x, window->window, px, py, window->display); }
    xtest::Image image(int px, int py, int w, int h) {
        return xtest::capture(x, window->window, px, py, w, h, window->display);
    }
};
