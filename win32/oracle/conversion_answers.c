/* The automation runtime's answers to the conversion cases written by qxconversionoracle.
 *
 *   conversion_answers.exe CASES ANSWERS
 *
 * Each case line is "R8 <hex of the double's bits>" or "STR <hex of the text's UTF-8 bytes>".
 * For every case and each locale (US English 0x0409, Chinese 0x0804) one answer line:
 *   R8 <hex> <lcid> bstr=<VarBstrFromR8, hex of UTF-8> i4=<VarI4FromR8> i2=<VarI2FromR8>
 *   STR <hex> <lcid> r8=<VarR8FromStr, hex of the double's bits>
 * where a failed conversion is "!<HRESULT in hex>". The last line is "ANSWERS <count>": Wine's
 * exit codes are not reliable, so the reader checks the count instead. */
#include <windows.h> /* before the other Windows headers */

#include <oleauto.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const LCID kLocales[] = {0x0409, 0x0804};

static void writeHex(FILE* out, const unsigned char* bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) fprintf(out, "%02x", bytes[i]);
}

static int readHex(const char* s, unsigned char* bytes, size_t capacity, size_t* n) {
  size_t len = strlen(s);
  if (len % 2 != 0 || len / 2 > capacity) return 0;
  for (size_t i = 0; i < len / 2; ++i) {
    unsigned v;
    if (sscanf(s + 2 * i, "%2x", &v) != 1) return 0;
    bytes[i] = (unsigned char)v;
  }
  *n = len / 2;
  return 1;
}

static void writeBits(FILE* out, double d) {
  unsigned long long bits;
  memcpy(&bits, &d, sizeof bits);
  fprintf(out, "%016llx", bits);
}

static void answerDouble(FILE* out, const char* hex, double v, LCID lcid) {
  BSTR text = NULL;
  LONG i4 = 0;
  SHORT i2 = 0;
  HRESULT hr;
  fprintf(out, "R8 %s %04lx bstr=", hex, (unsigned long)lcid);
  hr = VarBstrFromR8(v, lcid, 0, &text);
  if (SUCCEEDED(hr)) {
    char utf8[1024];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, (int)SysStringLen(text), utf8, sizeof utf8, NULL,
                                NULL);
    writeHex(out, (const unsigned char*)utf8, n > 0 ? (size_t)n : 0);
    SysFreeString(text);
  } else {
    fprintf(out, "!%08lx", (unsigned long)hr);
  }
  hr = VarI4FromR8(v, &i4);
  if (SUCCEEDED(hr)) {
    fprintf(out, " i4=%ld", (long)i4);
  } else {
    fprintf(out, " i4=!%08lx", (unsigned long)hr);
  }
  hr = VarI2FromR8(v, &i2);
  if (SUCCEEDED(hr)) {
    fprintf(out, " i2=%d\n", (int)i2);
  } else {
    fprintf(out, " i2=!%08lx\n", (unsigned long)hr);
  }
}

static void answerText(FILE* out, const char* hex, const char* utf8, size_t n, LCID lcid) {
  WCHAR wide[1024];
  int len = n ? MultiByteToWideChar(CP_UTF8, 0, utf8, (int)n, wide, 1023) : 0;
  double d = 0;
  HRESULT hr;
  wide[len > 0 ? len : 0] = 0;
  fprintf(out, "STR %s %04lx r8=", hex, (unsigned long)lcid);
  hr = VarR8FromStr(wide, lcid, 0, &d);
  if (SUCCEEDED(hr)) {
    writeBits(out, d);
    fputc('\n', out);
  } else {
    fprintf(out, "!%08lx\n", (unsigned long)hr);
  }
}

int main(int argc, char** argv) {
  FILE *in, *out;
  char line[2200];
  long count = 0;
  if (argc != 3) {
    fprintf(stderr, "usage: conversion_answers CASES ANSWERS\n");
    return 2;
  }
  in = fopen(argv[1], "r");
  out = fopen(argv[2], "w");
  if (!in || !out) {
    fprintf(stderr, "cannot open %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  while (fgets(line, sizeof line, in)) {
    char kind[8], hex[2100] = "";
    unsigned char bytes[1050];
    size_t n = 0;
    if (line[0] == '\n' || line[0] == '#') continue;
    /* An empty text has no hex digits. */
    if (sscanf(line, "%7s %2099s", kind, hex) < 1 || !readHex(hex, bytes, sizeof bytes, &n)) {
      fprintf(stderr, "bad case line: %s", line);
      return 1;
    }
    for (size_t k = 0; k < sizeof kLocales / sizeof kLocales[0]; ++k) {
      if (strcmp(kind, "R8") == 0 && n == 8) {
        unsigned long long bits = strtoull(hex, NULL, 16);
        double v;
        memcpy(&v, &bits, sizeof v);
        answerDouble(out, hex, v, kLocales[k]);
      } else if (strcmp(kind, "STR") == 0) {
        answerText(out, hex, (const char*)bytes, n, kLocales[k]);
      } else {
        fprintf(stderr, "bad case line: %s", line);
        return 1;
      }
      ++count;
    }
  }
  fprintf(out, "ANSWERS %ld\n", count);
  fclose(in);
  if (fclose(out) != 0) return 1;
  printf("ANSWERS WRITTEN (%ld)\n", count);
  return 0;
}
