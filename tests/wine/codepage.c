/* Prints the ANSI code page Wine gives programs in this locale. */
#include <windows.h>

#include <stdio.h>

int main(void)
{
    printf("%u\n", GetACP());
    return 0;
}
