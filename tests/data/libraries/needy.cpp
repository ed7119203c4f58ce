// A library that needs another one.
int kqGone();

int kqNeedy()
{
    return kqGone();
}
