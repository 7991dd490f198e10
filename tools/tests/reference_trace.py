#!/usr/bin/env python3
# Independent model of the population and the gravitational step, written
# from the rules (double evaluation, float rounding where stored) rather than
# from the C++ code. It made trace1000.txt:  reference_trace.py 1000 > trace1000.txt
import struct, math, sys
def f(x): return struct.unpack('f', struct.pack('f', x))[0]
def bits(x): return struct.unpack('I', struct.pack('f', x))[0]
state=1
def rint():
    global state
    state=(state*214013+2531011)&0xffffffff
    return (state>>16)&0x7fff
def rfloat(b): return (rint()/32767.0)*b
def absf(x): return f((1 if x>=0 else -1)*x)
balls=[]
for i in range(50):
    z=f(rfloat(2000)-1000); y=f(rfloat(2000)-1000); x=f(rfloat(2000)-1000)
    im=f(rfloat(200)); gm=f(rfloat(200))
    q=f(im/300); c=f(1-absf(q))
    red,blue=(0.0,c) if gm>0 else (c,0.0)
    rad=f(absf(gm)/3)
    balls.append(dict(v=[0.0,0.0,0.0],p=[x,y,z],pp=[0.0,0.0,0.0],r=red,g=0.0,b=blue,rad=rad,im=im,gm=gm))
G=f(0.001); dt=f(0.1)
def step():
    for i in range(50):
        bi=balls[i]; out=[0.0,0.0,0.0]
        for j in range(50):
            bj=balls[j]
            d=[f(bj['p'][k]-bi['p'][k]) for k in range(3)]
            if j!=i:
                k0=f(G*bi['gm']*bj['gm'])
                dx=bi['p'][0]-bj['p'][0]; dy=bi['p'][1]-bj['p'][1]; dz=bi['p'][2]-bj['p'][2]
                s=math.sqrt(dx*dx+dy*dy+dz*dz)
                kk=f(k0/s)
                d=[f(c*kk) for c in d]
            out=[f(out[k]+d[k]) for k in range(3)]
        r=f(1/bi['im'])
        F=[f(c*r) for c in out]; F=[f(c*dt) for c in F]
        bi['v']=[f(bi['v'][k]+F[k]) for k in range(3)]
        bi['pp']=list(bi['p'])
        bi['p']=[f(bi['p'][k]+bi['v'][k]) for k in range(3)]
def dump():
    lines=[]
    for i,b in enumerate(balls):
        fl=b['v']+b['p']+b['pp']+[b['r'],b['g'],b['b'],b['rad'],b['im'],b['gm']]
        lines.append(str(i)+''.join(' %08x'%bits(x) for x in fl))
    return '\n'.join(lines)+'\n'
n=int(sys.argv[1])
for _ in range(n): step()
out=dump()
sys.stdout.write(out)
