// The notice of a listener that could not be opened.
#include "app/web/listener_failure.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using web::ListenerStep;

TEST(ListenerFailure, NamesThePortTheReasonAndTheStep) {
    const struct {
        web::ListenerFailure failure;
        const char* text;
    } cases[] = {
        {{80, ListenerStep::Bind, web::kErrorAddressInUse},
         "Nu s-a putut deschide portul 80: il foloseste alt program.\r\n(bind, eroare 10048)\r\n"
         "Niciun browser nu se poate conecta."},
        {{80, ListenerStep::Bind, web::kErrorAccessDenied},
         "Nu s-a putut deschide portul 80: acces interzis.\r\n(bind, eroare 10013)\r\n"
         "Niciun browser nu se poate conecta."},
        {{65535, ListenerStep::Socket, 10093},
         "Nu s-a putut deschide portul 65535: eroare neasteptata.\r\n(socket, eroare 10093)\r\n"
         "Niciun browser nu se poate conecta."},
        {{8080, ListenerStep::Select, -1},
         "Nu s-a putut deschide portul 8080: eroare neasteptata.\r\n(WSAAsyncSelect, eroare -1)\r\n"
         "Niciun browser nu se poate conecta."},
        {{1, ListenerStep::Listen, 0},
         "Nu s-a putut deschide portul 1: eroare neasteptata.\r\n(listen, eroare 0)\r\n"
         "Niciun browser nu se poate conecta."},
    };
    for (const auto& c : cases) {
        std::array<char, 256> text{};
        const std::size_t length = web::FormatListenerFailure(c.failure, text);
        EXPECT_EQ(std::string(text.data()), c.text);
        EXPECT_EQ(length, std::string(c.text).size()) << c.text;
    }
}

TEST(ListenerFailure, TextIsCutToItsBufferAndEndsInNul) {
    const web::ListenerFailure failure{80, ListenerStep::Bind, web::kErrorAddressInUse};
    for (std::size_t size : {1u, 2u, 30u}) {
        std::array<char, 32> text;
        text.fill('#');
        const std::size_t length = web::FormatListenerFailure(failure, std::span(text.data(), size));
        EXPECT_EQ(length, size - 1) << "buffer of " << size;
        EXPECT_EQ(text[size - 1], '\0') << "buffer of " << size;
        EXPECT_EQ(text[size], '#') << "written past a buffer of " << size;
        EXPECT_EQ(std::string(text.data()), std::string("Nu s-a putut deschide portul 80").substr(0, size - 1));
    }
}

}  // namespace
